#include "gui/results/OptionGroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace probex {

const QStringList& GraphNodeCaptions() {
    static const QStringList captions = {QStringLiteral("GraphHis"), QStringLiteral("GraphDis"),
                                         QStringLiteral("GraphQuant")};
    return captions;
}

QGroupBox* CheckBoxGroup(const QString& title, const QStringList& captions) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    for (const QString& caption : captions) {
        auto* box = new QCheckBox(caption, group);
        box->setChecked(true);
        layout->addWidget(box);
    }
    layout->addStretch();
    return group;
}

QCheckBox* CheckBoxIn(const QGroupBox* group, const QString& caption) {
    for (QCheckBox* box : group->findChildren<QCheckBox*>())
        if (box->text() == caption) return box;
    return nullptr;
}

} // namespace probex
