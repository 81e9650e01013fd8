#include "gui/results/ReportPdf.h"

#include "gui/results/ReportContent.h"
#include "gui/results/ReportGraphs.h"
#include "gui/results/ReportWriter.h"
#include "settings/IniFile.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>

#include <memory>

namespace probex {

std::string WriteReportPdf(ProjectModel& model, const std::string& path) {
    std::unique_ptr<QApplication> application;
    if (!QCoreApplication::instance()) {
        // The batch mode shows no window: fonts and painting need only the offscreen platform.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "probex";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
    }
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter device(&buffer);
        device.setTitle(QStringLiteral("Probex Report"));
        device.setCreator(QStringLiteral("Probex"));
        TReportWriter writer(device);
        if (!writer.isActive()) return "Cannot write \"" + path + "\": the PDF could not be made";
        TProjectReportGraphs graphs(model);
        WriteReport(writer, model, BuildReportTree(model), {}, graphs);
        writer.finish();
    }
    return WriteFileAtomically(path, std::string_view(pdf.constData(), pdf.size()));
}

} // namespace probex
