#include "gui/settings/TFrmOptions.h"

#include "components/Prompter.h"
#include "project/ColorNames.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "variables/Random.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <functional>
#include <vector>

namespace probex {

namespace {

constexpr int kMaxRate = 999999999;
constexpr int kCustomColourRole = Qt::UserRole + 1;

QColor ToQColor(std::int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QIcon Swatch(std::int32_t bgr) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(bgr));
    return QIcon(pixmap);
}

/// The colour of a colour box, shown as one of the 16 named colours or as "Custom".
void SetColour(QComboBox* box, std::int32_t bgr) {
    int index = box->findData(bgr);
    if (index < 0) {
        const int last = box->count() - 1;
        if (box->itemData(last, kCustomColourRole).toBool()) box->removeItem(last);
        box->addItem(Swatch(bgr), QStringLiteral("Custom"), bgr);
        index = box->count() - 1;
        box->setItemData(index, true, kCustomColourRole);
    }
    box->setCurrentIndex(index);
}

std::int32_t Colour(const QComboBox* box) {
    return box->currentData().toInt();
}

/// The first character of a separator box, or the fallback when the box is not chosen or
/// empty. The validators admit printable ASCII only, one byte in every file.
char SeparatorFrom(bool custom, const QLineEdit* edit, char fallback) {
    const QString text = edit->text();
    return custom && !text.isEmpty() ? text.at(0).toLatin1() : fallback;
}

} // namespace

struct TFrmOptions::Controls {
    /// Shows one setting in its control and takes it back; kept in the order of the keys, so
    /// that a conversion error leaves exactly the settings before it applied.
    struct Binding {
        std::function<void(const TSettings&)> show;
        std::function<void(TSettings&)> apply;
    };
    struct RadioGroup {
        QGroupBox* box = nullptr;
        QButtonGroup* group = nullptr;
        int index() const { return group->checkedId(); }
        void setIndex(int i) const {
            if (QAbstractButton* button = group->button(i)) button->setChecked(true);
        }
    };

    std::vector<Binding> bindings;
    QTabWidget* PageControl = nullptr;

    RadioGroup RGListSep, RGDecSep, RGComSep;
    QLineEdit *EdtLSep = nullptr, *EdtDSep = nullptr, *EdtCSep = nullptr;

    QCheckBox *ChBHistDis = nullptr, *ChBHistHeaders = nullptr;
    RadioGroup RGPQ;
    QCheckBox *ChBPQCondensed = nullptr, *ChBPQTwoColumns = nullptr;

    QSpinBox* SEPQLines = nullptr;

    QComboBox *CBFreq2DStart = nullptr, *CBFreq2DEnd = nullptr;
    QComboBox *CBProb2DStart = nullptr, *CBProb2DEnd = nullptr;
    QFrame *FreqGrad2D = nullptr, *ProbGrad2D = nullptr;

    QLineEdit *DirEditInp = nullptr, *DirEditRes = nullptr, *DirEditDis = nullptr;
    QCheckBox *ChBInpOverPrompt = nullptr, *ChBInpFilenamePrompt = nullptr;
    QCheckBox *ChBResOverPrompt = nullptr, *ChBResFilenamePrompt = nullptr;

    RadioGroup RGGenerator;
    QCheckBox* ChBAutoSeed = nullptr;
    QLineEdit *EdtSeed1 = nullptr, *EdtSeed2 = nullptr;
    QSpinBox* SEThreads = nullptr;

    // Control makers: each creates the control named `name` and, where it shows a setting,
    // binds it to its member.
    static RadioGroup radioGroup(const char* name, const QString& title, const QStringList& items) {
        RadioGroup radio;
        radio.box = new QGroupBox(title);
        radio.box->setObjectName(QString::fromLatin1(name));
        radio.group = new QButtonGroup(radio.box);
        auto* layout = new QVBoxLayout(radio.box);
        for (int i = 0; i < items.size(); ++i) {
            auto* button = new QRadioButton(items[i], radio.box);
            button->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
            radio.group->addButton(button, i);
            layout->addWidget(button);
        }
        return radio;
    }

    QCheckBox* check(const char* name, const QString& caption, bool TSettings::*member) {
        auto* box = new QCheckBox(caption);
        box->setObjectName(QString::fromLatin1(name));
        if (member != nullptr)
            bindings.push_back({[box, member](const TSettings& s) { box->setChecked(s.*member); },
                                [box, member](TSettings& s) { s.*member = box->isChecked(); }});
        return box;
    }

    QSpinBox* spin(const char* name, int min, int max, std::int32_t TSettings::*member) {
        auto* box = new QSpinBox;
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(min, max);
        bindings.push_back({[box, member](const TSettings& s) { box->setValue(s.*member); },
                            [box, member](TSettings& s) { s.*member = box->value(); }});
        return box;
    }

    QComboBox* choice(const char* name, const QStringList& items, std::int32_t TSettings::*member) {
        auto* box = new QComboBox;
        box->setObjectName(QString::fromLatin1(name));
        box->addItems(items);
        bindings.push_back(
            {[box, member](const TSettings& s) { box->setCurrentIndex(s.*member); },
             [box, member](TSettings& s) { s.*member = std::max(0, box->currentIndex()); }});
        return box;
    }

    RadioGroup indexGroup(const char* name, const QString& title, const QStringList& items,
                          std::int32_t TSettings::*member) {
        const RadioGroup radio = radioGroup(name, title, items);
        bindings.push_back(
            {[radio, member](const TSettings& s) { radio.setIndex(s.*member); },
             [radio, member](TSettings& s) { s.*member = std::max(0, radio.index()); }});
        return radio;
    }

    RadioGroup filesGroup(const char* name, const QString& title,
                          ResultFileLayout TSettings::*member) {
        const RadioGroup radio = radioGroup(
            name, title, {QStringLiteral("Single file"), QStringLiteral("Multiple files")});
        bindings.push_back({[radio, member](const TSettings& s) {
                                radio.setIndex(s.*member == ResultFileLayout::Single ? 0 : 1);
                            },
                            [radio, member](TSettings& s) {
                                s.*member = radio.index() == 0 ? ResultFileLayout::Single
                                                               : ResultFileLayout::Multiple;
                            }});
        return radio;
    }

    QComboBox* colour(const char* name, std::int32_t TSettings::*member) {
        auto* box = new QComboBox;
        box->setObjectName(QString::fromLatin1(name));
        for (const TColorRec& rec : ColorTable())
            box->addItem(Swatch(rec.Value), QString::fromLatin1(rec.Name), rec.Value);
        bindings.push_back({[box, member](const TSettings& s) { SetColour(box, s.*member); },
                            [box, member](TSettings& s) { s.*member = Colour(box); }});
        return box;
    }

    QLineEdit* directory(const char* name, std::string TSettings::*member) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        bindings.push_back(
            {[edit, member](const TSettings& s) {
                 edit->setText(QString::fromStdString(s.*member));
             },
             [edit, member](TSettings& s) { s.*member = edit->text().toStdString(); }});
        return edit;
    }

    QLineEdit* seed(const char* name, std::int32_t TSettings::*member) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(name));
        bindings.push_back(
            {[edit, member](const TSettings& s) { edit->setText(QString::number(s.*member)); },
             [edit, member](TSettings& s) { s.*member = StrToInt(edit->text().toStdString()); }});
        return edit;
    }

    /// A separator: "Custom:" chosen with the box's character, or the default `fallback`.
    QWidget* separator(const char* groupName, const char* editName, const QString& title,
                       const QString& defaultCaption, const QRegularExpression& allowed,
                       char TSettings::*member, std::function<char(const TSettings&)> fallback,
                       RadioGroup& radio, QLineEdit*& edit) {
        radio = radioGroup(groupName, title, {defaultCaption, QStringLiteral("Custom:")});
        edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setMaxLength(1);
        edit->setMaximumWidth(40);
        edit->setValidator(new QRegularExpressionValidator(allowed, edit));
        auto* layout = static_cast<QVBoxLayout*>(radio.box->layout());
        layout->addWidget(edit);
        QLineEdit* box = edit;
        const RadioGroup group = radio;
        bindings.push_back({[=](const TSettings& s) {
                                const bool custom = s.*member != fallback(s);
                                group.setIndex(custom ? 1 : 0);
                                box->setText(QString(QChar::fromLatin1(s.*member)));
                            },
                            [=](TSettings& s) {
                                s.*member = SeparatorFrom(group.index() == 1, box, fallback(s));
                            }});
        return radio.box;
    }
};

TFrmOptions::TFrmOptions(TSettings& settings, const std::string& settingsFile, Prompter& prompter,
                         QWidget* parent)
    : QDialog(parent), m_settings(settings), m_settingsFile(settingsFile), m_prompter(prompter),
      m_c(std::make_unique<Controls>()) {
    setObjectName(QStringLiteral("TFrmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);

    auto* tabs = new QTabWidget;
    tabs->setObjectName(QStringLiteral("PageControl"));
    // Every tab in sight: the dialog opens wide enough for the whole row of tabs.
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideNone);
    m_c->PageControl = tabs;
    // Built in the order of the keys: the bindings apply in this order.
    buildGeneralTab(tabs);
    buildRefreshTab(tabs);
    buildDisplayTab(tabs);
    buildSaveTab(tabs);
    buildOutputTab(tabs);
    buildColoursTab(tabs);
    buildDirectoriesTab(tabs);
    buildGeneratorTab(tabs);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ButCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrmOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFrmOptions::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);

    connectInterplay();
    ShowSettings();
}

TFrmOptions::~TFrmOptions() = default;

void TFrmOptions::buildGeneralTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    const QRegularExpression printable(QStringLiteral("[\\x20-\\x7E]"));
    // A decimal separator must not be a character numbers are made of.
    const QRegularExpression decimal(QStringLiteral("(?![0-9eE+\\- ])[\\x21-\\x7E]"));

    auto* page = new QWidget;
    auto* separators = new QHBoxLayout;
    separators->addWidget(c.separator(
        "RGListSep", "EdtLSep", QStringLiteral("List separator"), QStringLiteral("Windows default"),
        printable, &TSettings::ListSep, [](const TSettings& s) { return s.WindowsListSep; },
        c.RGListSep, c.EdtLSep));
    separators->addWidget(c.separator(
        "RGDecSep", "EdtDSep", QStringLiteral("Decimal separator"),
        QStringLiteral("Windows default"), decimal, &TSettings::DecimalSep,
        [](const TSettings& s) { return s.WindowsDecimalSep; }, c.RGDecSep, c.EdtDSep));
    separators->addWidget(c.separator(
        "RGComSep", "EdtCSep", QStringLiteral("Comment separator"), QStringLiteral("Default (;)"),
        printable, &TSettings::CommentSep, [](const TSettings&) { return ';'; }, c.RGComSep,
        c.EdtCSep));

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(separators);
    layout->addWidget(c.check("ChBSavePos", QStringLiteral("Restore windows positions in project"),
                              &TSettings::SaveWinPos));
    layout->addWidget(c.check("ChBRewriteIDs",
                              QStringLiteral("Automatically rewrite comment field"),
                              &TSettings::RewriteIDs));
    layout->addWidget(c.check("ChBIgnoreUnsPar", QStringLiteral("Ignore unsupported parameters"),
                              &TSettings::IgnoreUnsupParams));
    auto* constRow = new QHBoxLayout;
    constRow->addWidget(c.check("chbDefInVarsConst",
                                QStringLiteral("Set undefined input variables "),
                                &TSettings::DefInVarsConst));
    constRow->addWidget(new QLabel(QStringLiteral("to Constant 0")));
    constRow->addStretch();
    layout->addLayout(constRow);
    auto* outRow = new QFormLayout;
    outRow->addRow(QStringLiteral("Default output variables:"),
                   c.choice("cbDefOutVars",
                            {QStringLiteral("Inactive"), QStringLiteral("Statistics"),
                             QStringLiteral("Histogram"), QStringLiteral("Log")},
                            &TSettings::DefOutVars));
    layout->addLayout(outRow);
    layout->addStretch();
    tabs->addTab(page, QStringLiteral("General"));
}

void TFrmOptions::buildRefreshTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    const QStringList statItems{QStringLiteral("Min,Max"), QStringLiteral("Min,Max,Mean,StDev"),
                                QStringLiteral("All")};
    const QString rate = QStringLiteral("Refresh rate (steps):");

    auto* stat = new QGroupBox(QStringLiteral("Statistics"));
    auto* statForm = new QFormLayout(stat);
    statForm->addRow(rate, c.spin("SERefRateStat", 1, kMaxRate, &TSettings::RefreshRateStat));
    statForm->addRow(QStringLiteral("Refresh:"),
                     c.choice("CBRefEvalStat", statItems, &TSettings::RefreshStatStat));

    auto* oneD = new QGroupBox(QStringLiteral("1D"));
    auto* oneDForm = new QFormLayout(oneD);
    oneDForm->addRow(rate, c.spin("SERefRate1D", 1, kMaxRate, &TSettings::RefreshRate1D));
    oneDForm->addRow(
        c.check("ChBRefGr", QStringLiteral("Refresh graph"), &TSettings::RefreshGraph));
    oneDForm->addRow(c.check("ChBRefProb", QStringLiteral("Refresh probabilities && quantiles"),
                             &TSettings::RefreshProb));
    oneDForm->addRow(QStringLiteral("Statistics:"),
                     c.choice("CBRefEval1DStat", QStringList{QStringLiteral("None")} + statItems,
                              &TSettings::Refresh1DStat));

    auto* twoD = new QGroupBox(QStringLiteral("2D"));
    auto* twoDForm = new QFormLayout(twoD);
    twoDForm->addRow(QStringLiteral("Refresh rate (dots):"),
                     c.spin("SERefRate2D", 1, kMaxRate, &TSettings::RefreshRate2D));

    auto* pq = new QGroupBox(QStringLiteral("Probabilities && quantiles"));
    auto* pqForm = new QFormLayout(pq);
    pqForm->addRow(rate, c.spin("SERefrPQ", 1, kMaxRate, &TSettings::RefreshRatePQ));

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (QGroupBox* group : {stat, oneD, twoD, pq})
        layout->addWidget(group);
    layout->addStretch();
    tabs->addTab(page, QStringLiteral("Refresh"));
}

void TFrmOptions::buildDisplayTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    auto* oneD = new QGroupBox(QStringLiteral("1D graph"));
    auto* oneDForm = new QFormLayout(oneD);
    oneDForm->addRow(QStringLiteral("Bar width:"),
                     c.spin("SEGraphBarWidth", 1, 10, &TSettings::Graph1DBarWidth));

    auto* twoD = new QGroupBox(QStringLiteral("2D graph"));
    auto* twoDLayout = new QHBoxLayout(twoD);
    twoDLayout->addWidget(
        c.indexGroup("RGColouration", QStringLiteral("Colouration"),
                     {QStringLiteral("No"), QStringLiteral("Freq"), QStringLiteral("Prob")},
                     &TSettings::Graph2DColouration)
            .box);
    auto* objects = new QVBoxLayout;
    objects->addWidget(
        c.check("ChBLines", QStringLiteral("Draw lines"), &TSettings::Graph2DDrawLines));
    objects->addWidget(
        c.check("ChBCircles", QStringLiteral("Draw circles"), &TSettings::Graph2DDrawCircles));
    objects->addWidget(
        c.check("ChBDots", QStringLiteral("Draw dots"), &TSettings::Graph2DDrawDots));
    objects->addStretch();
    twoDLayout->addLayout(objects);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(oneD);
    layout->addWidget(twoD);
    layout->addStretch();
    tabs->addTab(page, QStringLiteral("Display"));
}

void TFrmOptions::buildSaveTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    const QString headers = QStringLiteral("Headers");
    const QString names = QStringLiteral("Variable Names");
    // Each kind of result file: its radio group with the check boxes beside the radios.
    const auto addChecks = [](QGroupBox* box, std::initializer_list<QCheckBox*> checks) {
        auto* layout = static_cast<QVBoxLayout*>(box->layout());
        for (QCheckBox* check : checks)
            layout->addWidget(check);
        layout->addStretch();
    };

    QGroupBox* stat =
        c.filesGroup("RGStat", QStringLiteral("Statistics"), &TSettings::StatisticsFiles).box;
    addChecks(stat, {c.check("ChBStatHeaders", headers, &TSettings::StatisticsHeaders),
                     c.check("ChBStatNames", names, &TSettings::StatisticsNames)});

    auto* hist = new QGroupBox(QStringLiteral("Histogram"));
    hist->setLayout(new QVBoxLayout);
    c.ChBHistDis =
        c.check("ChBHistDis", QStringLiteral("DIS format"), &TSettings::HistogramDisFormat);
    c.ChBHistHeaders = c.check("ChBHistHeaders", headers, &TSettings::HistogramHeaders);
    addChecks(hist, {c.ChBHistDis, c.ChBHistHeaders,
                     c.check("ChBHistNames", names, &TSettings::HistogramNames)});

    QGroupBox* hisStat = c.filesGroup("RGHisStat", QStringLiteral("Histogram statistics"),
                                      &TSettings::HistogramStatisticsFiles)
                             .box;
    addChecks(hisStat,
              {c.check("ChBHisStatHeaders", headers, &TSettings::HistogramStatisticsHeaders),
               c.check("ChBHisStatNames", names, &TSettings::HistogramStatisticsNames)});

    QGroupBox* log = c.filesGroup("RGLog", QStringLiteral("Log"), &TSettings::LogFiles).box;
    addChecks(log,
              {c.check("ChBLogHeaders", headers, &TSettings::LogHeaders),
               c.check("ChBLogNames", names, &TSettings::LogNames),
               c.check("ChBLogRecords", QStringLiteral("Records count"), &TSettings::LogRecords)});

    c.RGPQ =
        c.filesGroup("RGPQ", QStringLiteral("Probabilities && quantiles"), &TSettings::PQFiles);
    QCheckBox* pqHeaders = c.check("ChBPQHeaders", headers, &TSettings::PQHeaders);
    QCheckBox* pqNames = c.check("ChBPQNames", names, &TSettings::PQNames);
    c.ChBPQCondensed =
        c.check("ChBPQCondensed", QStringLiteral("Condensed"), &TSettings::PQCondensed);
    c.ChBPQTwoColumns =
        c.check("ChBPQTwoColumns", QStringLiteral("Two columns"), &TSettings::PQTwoColumns);
    addChecks(c.RGPQ.box, {pqHeaders, pqNames, c.ChBPQCondensed, c.ChBPQTwoColumns});

    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    layout->addWidget(stat, 0, 0);
    layout->addWidget(hist, 0, 1);
    layout->addWidget(hisStat, 0, 2);
    layout->addWidget(log, 1, 0);
    layout->addWidget(c.RGPQ.box, 1, 1);
    tabs->addTab(page, QStringLiteral("Save"));
}

void TFrmOptions::buildOutputTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    auto* form = new QFormLayout;
    c.SEPQLines = c.spin("SEPQLines", 1, 256, &TSettings::PQLines);
    form->addRow(QStringLiteral("Lines:"), c.SEPQLines);
    form->addRow(QStringLiteral("Output histogram size (bins):"),
                 c.spin("SEOisSize", 2, 65536, &TSettings::HistogramSize));

    auto* oneD = new QGroupBox(QStringLiteral("1D"));
    auto* oneDLayout = new QVBoxLayout(oneD);
    oneDLayout->addWidget(
        c.check("ChB1DHisStat", QStringLiteral("Histogram statistics"), &TSettings::HisStatIn1D));
    oneDLayout->addWidget(c.check("ChBDisc", QStringLiteral("Discrete"), &TSettings::Discrete1D));
    oneDLayout->addWidget(
        c.check("ChB1DRecalc", QStringLiteral("Recalculate"), &TSettings::Recalc1D));

    // Keys 1PQ..4PQ come before 1PQVal..4PQVal: all kinds are bound first.
    auto* marks = new QGroupBox(QStringLiteral("Default marks"));
    auto* marksLayout = new QGridLayout(marks);
    std::array<QComboBox*, 4> kinds{};
    for (std::size_t n = 0; n < 4; ++n) {
        auto* box = new QComboBox;
        box->setObjectName(QStringLiteral("CBpq%1").arg(n + 1));
        box->addItems({QStringLiteral("Probability"), QStringLiteral("Quantile")});
        c.bindings.push_back(
            {[box, n](const TSettings& s) { box->setCurrentIndex(s.PQKinds[n] == PQKind::Q); },
             [box, n](TSettings& s) {
                 s.PQKinds[n] =
                     box->currentText() == QLatin1String("Quantile") ? PQKind::Q : PQKind::P;
             }});
        kinds[n] = box;
    }
    for (std::size_t n = 0; n < 4; ++n) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("EdtPQ%1").arg(n + 1));
        // Converted with the decimal separator in force, which the separators set first.
        c.bindings.push_back(
            {[edit, n](const TSettings& s) {
                 edit->setText(QString::fromStdString(FormatShortest(s.PQValues[n], s.DecimalSep)));
             },
             [edit, n](TSettings& s) {
                 s.PQValues[n] = StrToExtended(edit->text().toStdString(), s.DecimalSep);
             }});
        const int row = static_cast<int>(n);
        marksLayout->addWidget(new QLabel(QStringLiteral("Mark %1:").arg(n + 1)), row, 0);
        marksLayout->addWidget(kinds[n], row, 1);
        marksLayout->addWidget(edit, row, 2);
    }

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(oneD);
    layout->addWidget(marks);
    layout->addStretch();
    tabs->addTab(page, QStringLiteral("Output"));
}

void TFrmOptions::buildColoursTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Graph Dis plot:"),
                 c.colour("CBPlotDis", &TSettings::PlotDisColor));
    form->addRow(QStringLiteral("Results:"), c.colour("CBResults", &TSettings::ResultsColor));
    form->addRow(QStringLiteral("Plot 1D:"), c.colour("CBPlot1D", &TSettings::Plot1DColor));
    form->addRow(QStringLiteral("Mark 1:"), c.colour("CBMark1", &TSettings::Mark1Color));
    form->addRow(QStringLiteral("Mark 2:"), c.colour("CBMark2", &TSettings::Mark2Color));
    form->addRow(QStringLiteral("Mark 3:"), c.colour("CBMark3", &TSettings::Mark3Color));
    form->addRow(QStringLiteral("Mark 4:"), c.colour("CBMark4", &TSettings::Mark4Color));
    form->addRow(QStringLiteral("Plot 2D:"), c.colour("CBPlot2D", &TSettings::Plot2DColor));

    const auto gradient = [](const char* name) {
        auto* frame = new QFrame;
        frame->setObjectName(QString::fromLatin1(name));
        frame->setMinimumSize(120, 16);
        return frame;
    };
    c.CBFreq2DStart = c.colour("CBFreq2DStart", &TSettings::Freq2DStartColor);
    c.CBFreq2DEnd = c.colour("CBFreq2DEnd", &TSettings::Freq2DEndColor);
    c.FreqGrad2D = gradient("FreqGrad2D");
    c.CBProb2DStart = c.colour("CBProb2DStart", &TSettings::Prob2DStartColor);
    c.CBProb2DEnd = c.colour("CBProb2DEnd", &TSettings::Prob2DEndColor);
    c.ProbGrad2D = gradient("ProbGrad2D");
    form->addRow(QStringLiteral("Freq start colour:"), c.CBFreq2DStart);
    form->addRow(QStringLiteral("Freq end colour:"), c.CBFreq2DEnd);
    form->addRow(QString(), c.FreqGrad2D);
    form->addRow(QStringLiteral("Prob start colour:"), c.CBProb2DStart);
    form->addRow(QStringLiteral("Prob end colour:"), c.CBProb2DEnd);
    form->addRow(QString(), c.ProbGrad2D);
    form->addRow(QStringLiteral("Objects:"), c.colour("CBObjects", &TSettings::Plot2DObjectsColor));

    auto* page = new QWidget;
    page->setLayout(form);
    tabs->addTab(page, QStringLiteral("Colours"));
}

void TFrmOptions::buildDirectoriesTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    c.DirEditInp = c.directory("DirEditInp", &TSettings::InputDir);
    c.DirEditRes = c.directory("DirEditRes", &TSettings::ResultsDir);
    c.DirEditDis = c.directory("DirEditDis", &TSettings::DistDir);
    c.ChBInpOverPrompt = c.check("ChBInpOverPrompt", QStringLiteral("Overwrite prompt"),
                                 &TSettings::InputOverwritePrompt);
    c.ChBResOverPrompt = c.check("ChBResOverPrompt", QStringLiteral("Overwrite prompt"),
                                 &TSettings::ResultsOverwritePrompt);
    c.ChBInpFilenamePrompt = c.check("ChBInpFilenamePrompt", QStringLiteral("Filename prompt"),
                                     &TSettings::InputFilenamePrompt);
    c.ChBResFilenamePrompt = c.check("ChBResFilenamePrompt", QStringLiteral("Filename prompt"),
                                     &TSettings::ResultsFilenamePrompt);

    auto* layout = new QGridLayout;
    int row = 0;
    const auto addDirectory = [&](const QString& label, QLineEdit* edit) {
        auto* browse = new QToolButton;
        browse->setObjectName(edit->objectName() + QStringLiteral("Browse"));
        browse->setText(QStringLiteral("..."));
        connect(browse, &QToolButton::clicked, this, [this, edit, label] {
            const std::string start =
                DirectoryInForce(edit->text().toStdString(), m_settings.AppDir);
            const QString chosen =
                QFileDialog::getExistingDirectory(this, label, QString::fromStdString(start));
            if (!chosen.isEmpty()) edit->setText(chosen);
        });
        layout->addWidget(new QLabel(label), row, 0);
        layout->addWidget(edit, row, 1);
        layout->addWidget(browse, row, 2);
        ++row;
    };
    addDirectory(QStringLiteral("Inputs:"), c.DirEditInp);
    layout->addWidget(c.ChBInpFilenamePrompt, row, 1);
    layout->addWidget(c.ChBInpOverPrompt, row++, 2);
    addDirectory(QStringLiteral("Results:"), c.DirEditRes);
    layout->addWidget(c.ChBResFilenamePrompt, row, 1);
    layout->addWidget(c.ChBResOverPrompt, row++, 2);
    addDirectory(QStringLiteral("Distributions:"), c.DirEditDis);

    auto* butDefault = new QPushButton(QStringLiteral("Default"));
    butDefault->setObjectName(QStringLiteral("ButDefault"));
    connect(butDefault, &QPushButton::clicked, this, [this] {
        const QString appDir = QString::fromStdString(m_settings.AppDir);
        m_c->DirEditDis->setText(appDir + QStringLiteral("Distributions"));
        m_c->DirEditInp->setText(appDir + QStringLiteral("Inputs"));
        m_c->DirEditRes->setText(appDir + QStringLiteral("Results"));
    });
    layout->addWidget(butDefault, row, 1, Qt::AlignLeft);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(layout);
    pageLayout->addStretch();
    tabs->addTab(page, QStringLiteral("Directories"));
}

void TFrmOptions::buildGeneratorTab(QTabWidget* tabs) {
    Controls& c = *m_c;
    c.RGGenerator = c.indexGroup("RGGenerator", QStringLiteral("Generator"),
                                 {QStringLiteral("Simple"), QStringLiteral("Shuffled"),
                                  QStringLiteral("Shuffled custom"), QStringLiteral("Parallel")},
                                 &TSettings::Generator);
    c.EdtSeed1 = c.seed("EdtSeed1", &TSettings::Seed1);
    c.EdtSeed2 = c.seed("EdtSeed2", &TSettings::Seed2);
    QCheckBox* initial =
        c.check("ChBInitialSampling", QStringLiteral("Initial Extreme Sampling"), nullptr);
    c.bindings.push_back(
        {[initial](const TSettings& s) { initial->setChecked(s.InitialSampling >= 1); },
         [initial](TSettings& s) { s.InitialSampling = initial->isChecked() ? 1 : 0; }});
    // Not a setting: on at every start, kept by the dialog.
    c.ChBAutoSeed = c.check("ChBAutoSeed", QStringLiteral("Auto"), nullptr);
    c.ChBAutoSeed->setChecked(true);

    auto* seeds = new QGroupBox(QStringLiteral("Seed"));
    auto* seedForm = new QFormLayout(seeds);
    seedForm->addRow(c.ChBAutoSeed);
    seedForm->addRow(QStringLiteral("Seed 1:"), c.EdtSeed1);
    seedForm->addRow(QStringLiteral("Seed 2:"), c.EdtSeed2);

    // The results do not depend on it, so every core is the default.
    c.SEThreads = c.spin("SEThreads", 0, MaxThreads, &TSettings::Threads);
    c.SEThreads->setSpecialValueText(QStringLiteral("Every core"));
    c.SEThreads->setToolTip(QStringLiteral("Threads of a run with the \"Parallel\" generator"));
    auto* threads = new QFormLayout;
    threads->addRow(QStringLiteral("Threads:"), c.SEThreads);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    top->addWidget(c.RGGenerator.box);
    top->addWidget(seeds);
    layout->addLayout(top);
    layout->addLayout(threads);
    layout->addWidget(initial);
    layout->addStretch();
    tabs->addTab(page, QStringLiteral("Generator"));
}

void TFrmOptions::connectInterplay() {
    Controls& c = *m_c;
    const auto update = [this] {
        if (!m_filling) updateEnabling();
    };

    for (const auto& [radio, edit] :
         {std::pair{c.RGListSep, c.EdtLSep}, std::pair{c.RGDecSep, c.EdtDSep},
          std::pair{c.RGComSep, c.EdtCSep}}) {
        QLineEdit* box = edit;
        connect(radio.group, &QButtonGroup::idToggled, this, [this, box, update](int id, bool on) {
            update();
            if (id == 1 && on && !m_filling && isVisible()) box->setFocus();
        });
    }

    connect(c.ChBHistDis, &QCheckBox::toggled, this, update);

    // Single file cannot be chosen for probabilities and quantiles; a click on the item
    // already shown counts too.
    connect(c.RGPQ.group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == 0) m_c->RGPQ.setIndex(1);
    });
    connect(c.RGPQ.group, &QButtonGroup::idToggled, this, update);
    connect(c.ChBPQCondensed, &QCheckBox::toggled, this, [this, update](bool on) {
        if (on && !m_filling) m_c->ChBPQTwoColumns->setChecked(false);
        update();
    });

    for (const auto& [filename, overwrite] :
         {std::pair{c.ChBInpFilenamePrompt, c.ChBInpOverPrompt},
          std::pair{c.ChBResFilenamePrompt, c.ChBResOverPrompt}}) {
        QCheckBox* box = overwrite;
        connect(filename, &QCheckBox::toggled, this, [this, box, update](bool on) {
            if (!on && !m_filling) box->setChecked(false);
            update();
        });
    }

    // The shuffled generators are not built: a click on them brings "Simple" back.
    connect(c.RGGenerator.group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id != GeneratorParallel) m_c->RGGenerator.setIndex(0);
    });
    connect(c.RGGenerator.group, &QButtonGroup::idToggled, this, update);
    connect(c.ChBAutoSeed, &QCheckBox::toggled, this, [this](bool on) {
        updateEnabling();
        emit autoSeedChanged(on);
    });

    connect(c.SEPQLines, &QSpinBox::valueChanged, this, [this](int lines) {
        if (m_filling || lines == m_settings.PQLines) return;
        m_settings.PQLines = lines;
        emit pqLinesChanged(lines);
    });

    for (QComboBox* box : {c.CBFreq2DStart, c.CBFreq2DEnd, c.CBProb2DStart, c.CBProb2DEnd})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { updateGradients(); });
}

void TFrmOptions::ShowSettings() {
    m_filling = true;
    for (const Controls::Binding& binding : m_c->bindings)
        binding.show(m_settings);
    m_c->PageControl->setCurrentIndex(0);
    m_filling = false;
    updateEnabling();
    updateGradients();
}

void TFrmOptions::ApplySettings() {
    for (const Controls::Binding& binding : m_c->bindings)
        binding.apply(m_settings);
    DeriveDirectories(m_settings);
}

bool TFrmOptions::autoSeed() const {
    return m_c->ChBAutoSeed->isChecked();
}

void TFrmOptions::setAutoSeed(bool on) {
    m_c->ChBAutoSeed->setChecked(on);
}

QString TFrmOptions::seedPanelText(bool autoSeed) {
    return autoSeed ? QString() : QStringLiteral("Manual Seed!");
}

void TFrmOptions::accept() {
    // Files written with separators their reader cannot tell apart would be lost.
    Controls& c = *m_c;
    const bool customList = c.RGListSep.index() == 1;
    const bool customDecimal = c.RGDecSep.index() == 1;
    const std::string problem =
        SeparatorProblem(SeparatorFrom(customList, c.EdtLSep, m_settings.WindowsListSep),
                         SeparatorFrom(customDecimal, c.EdtDSep, m_settings.WindowsDecimalSep));
    if (!problem.empty()) {
        m_prompter.error(problem);
        c.PageControl->setCurrentIndex(0);
        (customDecimal ? c.EdtDSep : c.EdtLSep)->setFocus();
        return;
    }
    bool applied = true;
    try {
        ApplySettings();
    } catch (const ConversionError& error) {
        applied = false;
        m_prompter.error(error.what());
    }
    emit settingsChanged();
    if (!applied) return;
    const std::string error = SaveSettings(m_settingsFile, m_settings);
    if (!error.empty()) {
        m_prompter.error(error);
        return;
    }
    QDialog::accept();
}

void TFrmOptions::showEvent(QShowEvent* event) {
    // A window restored from its icon keeps what the person entered.
    if (!event->spontaneous()) ShowSettings();
    QDialog::showEvent(event);
}

void TFrmOptions::updateEnabling() {
    Controls& c = *m_c;
    c.EdtLSep->setEnabled(c.RGListSep.index() == 1);
    c.EdtDSep->setEnabled(c.RGDecSep.index() == 1);
    c.EdtCSep->setEnabled(c.RGComSep.index() == 1);
    c.ChBHistHeaders->setEnabled(!c.ChBHistDis->isChecked());
    const bool pqMultiple = c.RGPQ.index() == 1;
    c.ChBPQCondensed->setEnabled(pqMultiple);
    c.ChBPQTwoColumns->setEnabled(pqMultiple && !c.ChBPQCondensed->isChecked());
    c.ChBInpOverPrompt->setEnabled(c.ChBInpFilenamePrompt->isChecked());
    c.ChBResOverPrompt->setEnabled(c.ChBResFilenamePrompt->isChecked());
    const bool manual = !c.ChBAutoSeed->isChecked();
    c.EdtSeed1->setEnabled(manual);
    c.EdtSeed2->setEnabled(manual && c.RGGenerator.index() >= 1);
    c.SEThreads->setEnabled(c.RGGenerator.index() == GeneratorParallel);
}

void TFrmOptions::updateGradients() {
    Controls& c = *m_c;
    const auto paint = [](QFrame* frame, const QComboBox* start, const QComboBox* end) {
        frame->setStyleSheet(
            QStringLiteral("QFrame { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                           "stop:0 %1, stop:1 %2); }")
                .arg(ToQColor(Colour(start)).name(), ToQColor(Colour(end)).name()));
    };
    paint(c.FreqGrad2D, c.CBFreq2DStart, c.CBFreq2DEnd);
    paint(c.ProbGrad2D, c.CBProb2DStart, c.CBProb2DEnd);
}

} // namespace probex
