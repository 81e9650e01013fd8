#pragma once

#include <QDialog>

namespace probex {

/// The about box "About Probex".
class TFrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TFrmAbout(QWidget* parent = nullptr);
};

} // namespace probex
