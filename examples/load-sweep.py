# The beam's probability of failure as its load grows (run from this folder).
import probex

p = probex.Project.open("beam.pxw")
rows = []
for mean in range(50, 81, 5):
    p.inputs["F"].mean = mean
    pf = p.run(steps=100_000, seed=1).probability
    rows.append((mean, pf.value, *pf.interval))
    print(f"F mean {mean}: {pf.value:.5f} ({pf.interval[0]:.5f} to {pf.interval[1]:.5f})")
try:
    import matplotlib.pyplot as plt
    x, value, low, high = zip(*rows)
    plt.semilogy(x, value), plt.fill_between(x, low, high, alpha=0.3)
    plt.xlabel("mean load F [kN]"), plt.ylabel("probability of failure")
    plt.savefig("load-sweep.png")
except ImportError:
    pass  # without matplotlib the printed table is the result
