#include "gui/engine/TFrmEquErr.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace probex {

QPoint PopupPlace(QSize size, const QRect& area, const QRect& screen) {
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(screen.center());
    if (area.isEmpty() || !frame.intersects(area)) return frame.topLeft();
    constexpr int gap = 8;
    if (area.bottom() + gap + size.height() <= screen.bottom())
        frame.moveTop(area.bottom() + gap);
    else if (area.top() - gap - size.height() >= screen.top())
        frame.moveBottom(area.top() - gap);
    else
        frame.moveTop(area.bottom() < screen.center().y() ? screen.bottom() - size.height()
                                                          : screen.top());
    return frame.topLeft();
}

TFrmEquErr::TFrmEquErr(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      m_lblErr(new QLabel(this)), m_errTim(new QTimer(this)) {
    setObjectName(QStringLiteral("FrmEquErr"));
    setWindowTitle(QStringLiteral("Error"));
    setModal(true);
    setMouseTracking(true);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PnlErr"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette red = panel->palette();
    red.setColor(QPalette::Window, Qt::red);
    red.setColor(QPalette::WindowText, Qt::white);
    panel->setPalette(red);
    panel->setMouseTracking(true);

    m_lblErr->setObjectName(QStringLiteral("LblErr"));
    m_lblErr->setAlignment(Qt::AlignCenter);
    m_lblErr->setWordWrap(true);
    m_lblErr->setMinimumWidth(260);
    QFont bold = m_lblErr->font();
    bold.setBold(true);
    m_lblErr->setFont(bold);
    m_lblErr->setMouseTracking(true);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(m_lblErr);

    auto* hint = new QLabel(QStringLiteral("Press any key or move a mouse..."), this);
    hint->setAlignment(Qt::AlignCenter);
    hint->setMouseTracking(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(hint);

    // Mouse movements over the labels must reach the popup too.
    for (QWidget* child : {static_cast<QWidget*>(panel), static_cast<QWidget*>(m_lblErr),
                           static_cast<QWidget*>(hint)})
        child->installEventFilter(this);

    m_errTim->setObjectName(QStringLiteral("ErrTim"));
    m_errTim->setSingleShot(true);
    m_errTim->setInterval(1000);
    connect(m_errTim, &QTimer::timeout, this, &TFrmEquErr::ErrTimTimer);
}

void TFrmEquErr::prepare(const QString& caption, const QString& message) {
    setWindowTitle(caption);
    m_lblErr->setText(message);
    adjustSize();
}

void TFrmEquErr::showPopup(const std::string& caption, const std::string& message) {
    prepare(QString::fromLatin1(caption), QString::fromLatin1(message));
    exec();
}

void TFrmEquErr::setMinimumShowTime(int milliseconds) {
    m_errTim->setInterval(milliseconds);
}

QString TFrmEquErr::message() const {
    return m_lblErr->text();
}

void TFrmEquErr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen()) {
        const QRect area = m_keepClear ? m_keepClear() : QRect();
        // move() places the frame; the frame is the size that must stay clear.
        move(PopupPlace(frameGeometry().size(), area, screen->availableGeometry()));
    }
    m_keepClear = nullptr;
    m_acted = false;
    m_timerFired = false;
    m_errTim->start();
    QApplication::beep();
}

void TFrmEquErr::keyPressEvent(QKeyEvent* event) {
    // Every key counts, Escape and Enter included: they must not close it before its time.
    event->accept();
    FormAct();
}

void TFrmEquErr::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    FormAct();
}

bool TFrmEquErr::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) FormAct();
    return QDialog::eventFilter(watched, event);
}

void TFrmEquErr::FormAct() {
    m_acted = true;
    if (m_timerFired) accept();
}

void TFrmEquErr::ErrTimTimer() {
    m_timerFired = true;
    if (m_acted) accept();
}

} // namespace probex
