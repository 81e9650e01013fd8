#include "gui/components/QtPrompter.h"

#include "components/DialogFolder.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

namespace probex {

namespace {

QMessageBox::Icon IconFor(Prompter::Kind kind) {
    switch (kind) {
    case Prompter::Kind::Warning:
        return QMessageBox::Warning;
    case Prompter::Kind::Error:
        return QMessageBox::Critical;
    case Prompter::Kind::Information:
        return QMessageBox::Information;
    case Prompter::Kind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsFor(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompter::Buttons::Cancel:
        return QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompter::Buttons::YesNoAll:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll;
    }
    return QMessageBox::Ok;
}

/// What closing the box without a button means for each set.
Prompter::Answer EscapeAnswer(Prompter::Buttons buttons) {
    switch (buttons) {
    case Prompter::Buttons::Ok:
        return Prompter::Answer::Ok;
    case Prompter::Buttons::YesNo:
    case Prompter::Buttons::YesNoAll:
        return Prompter::Answer::No;
    default:
        return Prompter::Answer::Cancel;
    }
}

} // namespace

QString MessageCaption(Prompter::Kind kind) {
    switch (kind) {
    case Prompter::Kind::Warning:
        return QStringLiteral("Warning");
    case Prompter::Kind::Error:
        return QStringLiteral("Error");
    case Prompter::Kind::Information:
        return QStringLiteral("Information");
    case Prompter::Kind::Confirmation:
        return QStringLiteral("Confirm");
    }
    return {};
}

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    if (parts.size() < 2) return parts.value(0);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

Prompter::Answer QtPrompter::message(Kind kind, const std::string& text, Buttons buttons) {
    // Core texts are 8-bit; Latin-1 keeps every byte of a file name or variable name.
    QMessageBox box(IconFor(kind), MessageCaption(kind), QString::fromLatin1(text),
                    ButtonsFor(buttons), m_parent);
    if (QAbstractButton* all = box.button(QMessageBox::YesToAll))
        all->setText(QStringLiteral("All"));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::YesToAll:
        return Answer::All;
    default:
        return EscapeAnswer(buttons);
    }
}

std::optional<std::string> QtPrompter::chooseFile(const FileRequest& request) {
    // A folder that does not exist would become the proposed file name.
    const std::string folder = DialogStartFolder({}, request.initialDirectory);
    QFileDialog dialog(m_parent, QString::fromStdString(request.title),
                       QFile::decodeName(folder.c_str()), QtFileFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The callers ask before replacing a file where their setting says so.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.fileName.empty() && request.fileName.find('*') == std::string::npos)
        dialog.selectFile(QFile::decodeName(request.fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString file = dialog.selectedFiles().constFirst();
    if (request.save && QFileInfo(file).suffix().isEmpty()) {
        // A name typed without an extension takes the one of the filter chosen ("Metafile"
        // gives ".wmf"), else the request's.
        static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
        const QRegularExpressionMatch match = pattern.match(dialog.selectedNameFilter());
        const QString suffix =
            match.hasMatch() ? match.captured(1) : QString::fromStdString(request.defaultExtension);
        if (!suffix.isEmpty()) file += QLatin1Char('.') + suffix;
    }
    return QFile::encodeName(file).toStdString();
}

} // namespace probex
