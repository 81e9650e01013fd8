#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <string>

class QShowEvent;
class QTabWidget;

namespace probex {

class Prompter;
struct TSettings;

/// The modal settings dialog "Options". One instance lives as long as the main window: the
/// "Auto" seed box is not a stored setting but the dialog's own state, checked at start.
///
/// Every show fills the controls from the settings in force (`ShowSettings`). OK applies them
/// (`ApplySettings`), emits `settingsChanged` and writes the settings file; a conversion error
/// or a failed write is shown through the prompter and the dialog stays open. Cancel changes
/// nothing, except `PQLines`, which the "Lines:" box sets at once.
class TFrmOptions : public QDialog {
    Q_OBJECT

public:
    TFrmOptions(TSettings& settings, const std::string& settingsFile, Prompter& prompter,
                QWidget* parent = nullptr);
    ~TFrmOptions() override;

    /// Fills the controls from the settings in force and opens the "General" tab. Runs on
    /// every show; the "Auto" seed box keeps its state.
    void ShowSettings();

    /// Takes the controls into the settings in force, in the order of the tabs, and derives
    /// the directories in force. Throws ConversionError for a mark value or seed that is not a
    /// number; the settings taken before it stay in force.
    void ApplySettings();

    /// Whether the random generator is seeded automatically (the "Auto" box).
    bool autoSeed() const;
    void setAutoSeed(bool on);

    /// The text of the main window's seed panel: "Manual Seed!" when not seeding automatically.
    static QString seedPanelText(bool autoSeed);

public slots:
    /// OK: ApplySettings, settingsChanged, SaveSettings; closes only when all went well.
    void accept() override;

signals:
    /// The "Auto" box was toggled; the main window shows seedPanelText and passes the flag on.
    void autoSeedChanged(bool autoSeed);
    /// The "Lines:" box changed `PQLines` in force; open probability and quantile windows take
    /// that many lines now, whether the dialog is confirmed or not.
    void pqLinesChanged(int lines);
    /// OK took the controls into the settings in force, before the file is written; also after
    /// a conversion error, since the settings taken before it stay in force. The equation
    /// editors take the comment separator, probability and quantile windows the line count,
    /// 1D windows the mark colours.
    void settingsChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Controls;

    void buildGeneralTab(QTabWidget* tabs);
    void buildRefreshTab(QTabWidget* tabs);
    void buildDisplayTab(QTabWidget* tabs);
    void buildSaveTab(QTabWidget* tabs);
    void buildOutputTab(QTabWidget* tabs);
    void buildColoursTab(QTabWidget* tabs);
    void buildDirectoriesTab(QTabWidget* tabs);
    void buildGeneratorTab(QTabWidget* tabs);
    void connectInterplay();
    /// Enabled states that follow other controls: separator boxes, "Headers", PQ options,
    /// overwrite prompts, seed boxes.
    void updateEnabling();
    void updateGradients();

    TSettings& m_settings;
    std::string m_settingsFile;
    Prompter& m_prompter;
    std::unique_ptr<Controls> m_c;
    bool m_filling = false; ///< ShowSettings is setting the controls: no reactions
};

} // namespace probex
