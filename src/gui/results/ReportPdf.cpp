#include "gui/results/ReportPdf.h"

#include "gui/results/ReportContent.h"
#include "gui/results/ReportGraphs.h"
#include "gui/results/ReportWriter.h"
#include "results/OwnFiles.h"
#include "settings/IniFile.h"

#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

namespace probex {

namespace {

/// A runtime folder of the process's own while it has none (a batch run outside a desktop
/// session), so that Qt does not warn about it; removed again at the end.
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder() {
        const char* given = std::getenv("XDG_RUNTIME_DIR");
        if (given && *given) return;
        std::error_code error;
        std::string pattern =
            (std::filesystem::temp_directory_path(error) / "probex-runtime-XXXXXX").string();
        if (error || ::mkdtemp(pattern.data()) == nullptr) return; // made with mode 0700
        m_path = pattern;
        ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
    }
    ~PrivateRuntimeFolder() {
        if (m_path.empty()) return;
        ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

private:
    std::string m_path;
};

} // namespace

std::string WriteReportPdf(ProjectModel& model, const std::string& path) {
    std::unique_ptr<PrivateRuntimeFolder> runtime;
    std::unique_ptr<QApplication> application;
    if (!QCoreApplication::instance()) {
        runtime = std::make_unique<PrivateRuntimeFolder>();
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
        device.setCreator(QString::fromLatin1(ReportCreator.data(),
                                              static_cast<qsizetype>(ReportCreator.size())));
        TReportWriter writer(device);
        if (!writer.isActive()) return "Cannot write \"" + path + "\": the PDF could not be made";
        TProjectReportGraphs graphs(model);
        WriteReport(writer, model, BuildReportTree(model), {}, graphs);
        writer.finish();
    }
    return WriteFileAtomically(path, std::string_view(pdf.constData(), pdf.size()));
}

} // namespace probex
