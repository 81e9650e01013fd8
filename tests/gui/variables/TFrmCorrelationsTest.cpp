#include "gui/variables/TFrmCorrelations.h"

#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "support/UiScriptedPrompter.h"
#include "variables/InputTable.h"

#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace probex;

class TFrmCorrelationsTest : public QObject {
    Q_OBJECT

    TSettings settings;
    test::UiScriptedPrompter prompter;
    DirectCall direct;
    std::unique_ptr<ProjectModel> model;
    std::unique_ptr<TFrmCorrelations> dialog;

    void addVariable(const char* name, const char* type) {
        TInputTable& table = model->inputs();
        const int row = table.FirstEmptyRow();
        table.setCellText(row, InputColumn::Variable, name);
        table.commitCell(row, InputColumn::Type, type);
    }
    QString cell(int row, int column) { return dialog->grid()->item(row, column)->text(); }
    void type(int row, int column, const char* text) {
        dialog->grid()->item(row, column)->setText(QString::fromLatin1(text));
    }

private slots:
    void init() {
        settings = TSettings{};
        settings.DecimalSep = '.';
        prompter = {};
        model = std::make_unique<ProjectModel>(settings, prompter, direct);
        addVariable("fy", "Lognormal");
        addVariable("L", "Constant");
        addVariable("W", "Normal");
        model->correlations.set("W", "fy", 0.25L);
        dialog = std::make_unique<TFrmCorrelations>(*model);
        dialog->fill();
    }
    void cleanup() {
        dialog.reset();
        model.reset();
        for (const auto& s : prompter.shown)
            qWarning("left-over message: %s", s.text.c_str());
        QVERIFY(prompter.shown.empty());
    }

    void gridHoldsTheSampledInputsSymmetrically() {
        QTableWidget* grid = dialog->grid();
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("W"));
        QCOMPARE(cell(0, 0), QStringLiteral("1"));
        QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));
        QCOMPARE(cell(0, 1), QStringLiteral("0.25"));
        QCOMPARE(cell(1, 0), QStringLiteral("0.25"));
    }

    void editingACellSetsThePairAndItsMirror() {
        type(1, 0, "-0.5");
        QCOMPARE(model->correlations.value("fy", "W"), -0.5L);
        QCOMPARE(cell(0, 1), QStringLiteral("-0.5"));
        type(0, 1, "");
        QVERIFY(model->correlations.empty());
        QCOMPARE(cell(1, 0), QString());
    }

    void valuesOutsideTheOpenIntervalAreRefused() {
        const struct {
            const char* text;
            const char* message;
        } cases[] = {
            {"1", "A correlation must lie strictly between -1 and 1: 1"},
            {"-1.2", "A correlation must lie strictly between -1 and 1: -1.2"},
            {"abc", "abc is not a valid number!"},
        };
        for (const auto& c : cases) {
            type(0, 1, c.text);
            QCOMPARE(prompter.take(Prompter::Kind::Error), std::string(c.message));
            QCOMPARE(cell(0, 1), QStringLiteral("0.25"));
            QCOMPARE(model->correlations.value("fy", "W"), 0.25L);
        }
    }
};

QTEST_MAIN(TFrmCorrelationsTest)
#include "TFrmCorrelationsTest.moc"
