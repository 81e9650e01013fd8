#include "project/UnkeptTexts.h"

#include "ProjectFixture.h"
#include "project/ProjectWriter.h"

#include <filesystem>
#include <functional>

namespace probex::test {
namespace {

class UnkeptTextsTest : public ProjectFixture {};

TEST_F(UnkeptTextsTest, SavingNamesWhatTheFileCannotGiveBack) {
    struct Case {
        const char* name;
        std::function<void(ProjectModel&)> build;
        std::string warning; ///< empty: none
        std::string written; ///< a line of the file
    };
    const Case cases[] = {
        {"free texts with the list separator and \"=\"",
         [](ProjectModel& m) {
             m.identification = "a;b=c";
             ASSERT_EQ(m.outputs().AddOutputVariable("Z", true), 1);
             m.outputs().setCell(1, colComment, "x;y=z");
         },
         "", "Z;Inactive;No;No;x;y=z"},
        {"a file name with the list separator",
         [](ProjectModel& m) {
             ASSERT_TRUE(m.inputs().AddInputVariable("x"));
             m.inputs().setCellText(1, InputColumn::Type, "my;file.dis");
         },
         "The type of input variable x \"my;file.dis\" cannot be kept whole in the project file: "
         "it will read back as \"my\".",
         "x;my;file.dis;;"},
        {"a line break in a comment",
         [](ProjectModel& m) {
             ASSERT_EQ(m.outputs().AddOutputVariable("Z", true), 1);
             m.outputs().setCell(1, colComment, "two\r\nlines");
         },
         "The comment of output variable Z \"two\r\nlines\" cannot be kept whole in the project "
         "file: it will read back as \"two  lines\".",
         "Z;Inactive;No;No;two  lines"},
        {"an equation line read as a header",
         [](ProjectModel& m) {
             m.equations = {"  [note", "y = 1"};
         },
         "The equation line \"  [note\" begins with \"[\" and would read back as a section header.",
         "  [note"},
    };
    const std::string path = dir.path("p.pxw");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.shown.clear();
        ProjectModel model(settings, prompter, direct);
        c.build(model);
        ASSERT_TRUE(WriteProject(model, path));
        EXPECT_EQ(prompter.texts(),
                  c.warning.empty() ? std::vector<std::string>{} : std::vector{c.warning});
        EXPECT_NE(ReadBytes(path).find("\r\n" + c.written + "\r\n"), std::string::npos)
            << ReadBytes(path);
    }
}

TEST_F(UnkeptTextsTest, SeparatorsAReadingCouldNotTellApartRefuseTheSave) {
    settings.DecimalSep = settings.ListSep;
    const std::string path = dir.path("p.pxw");
    EXPECT_FALSE(WriteProject(model, path));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{
                                    "The list separator \";\" and the decimal separator \";\" must "
                                    "be different characters! The project is not saved."});
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace probex::test
