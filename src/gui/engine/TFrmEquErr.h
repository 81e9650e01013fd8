#pragma once

#include "gui/engine/EquErrPopup.h"

#include <QDialog>

class QLabel;
class QTimer;

namespace probex {

/// The equation error popup: the message on a red panel, always on top, centred on the
/// screen. It stays at least the timer's interval and then closes at the first key or mouse
/// movement, so that a key held while typing cannot dismiss it unread.
class TFrmEquErr : public QDialog, public EquErrPopup {
    Q_OBJECT

public:
    explicit TFrmEquErr(QWidget* parent = nullptr);

    /// Modal: returns when the popup has closed.
    void showPopup(const std::string& caption, const std::string& message) override;
    void keepClearOf(std::function<QRect()> area) override { m_keepClear = std::move(area); }
    /// Sets caption and message without showing.
    void prepare(const QString& caption, const QString& message);

    /// The shortest time the popup stays, 1000 ms.
    void setMinimumShowTime(int milliseconds);
    QString message() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormAct();
    void ErrTimTimer();

    QLabel* m_lblErr;
    QTimer* m_errTim;
    std::function<QRect()> m_keepClear;
    bool m_acted = false;
    bool m_timerFired = false;
};

/// Where a popup of `size` goes: the centre of `screen`, or, when that covers `area`, just
/// below it or else just above it, so that the place the popup speaks of stays in sight.
QPoint PopupPlace(QSize size, const QRect& area, const QRect& screen);

} // namespace probex
