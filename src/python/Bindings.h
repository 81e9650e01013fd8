#pragma once

#include "python/ProjectSession.h"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <memory>

namespace probex {

namespace py = pybind11;
using Session = std::shared_ptr<ProjectSession>;

/// The results of one run of a project, read while they last: a change of the project or
/// another run discards them, as in the program.
struct RunResults {
    Session session;
    std::uint64_t run = 0;
    std::uint64_t discards = 0;
    bool stopped = false;
    /// The model, when these results are still its own; RuntimeError otherwise.
    ProjectModel& model() const;
};

/// Turns the messages the project kept into Python warnings.
void WarnMessages(ProjectSession& session);

/// RuntimeError while a run of the project goes on: nothing may change under it.
void RequireIdle(const ProjectSession& session);

void BindErrors(py::module_& module);
void BindProject(py::module_& module);
void BindResults(py::module_& module);

} // namespace probex
