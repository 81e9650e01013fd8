#include "gui/app/TFrmAbout.h"

#include "gui/app/RunPictures.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace probex {

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About Probex"));
    auto* picture = new QLabel(this);
    picture->setPixmap(RunPicture().pixmap(32, 32));
    auto* text = new QLabel(this);
    text->setObjectName(QStringLiteral("LblAbout"));
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral(
        "<h3>Probex 0.1</h3>"
        "<p>Monte Carlo simulation of engineering models.</p>"
        "<p>Write the model as equations, give every input variable a distribution, choose "
        "what each output variable gathers, and run.</p>"));
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedWidth(340);
}

} // namespace probex
