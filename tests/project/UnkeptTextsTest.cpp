#include "project/UnkeptTexts.h"

#include "ProjectFixture.h"
#include "project/ProjectWriter.h"

#include <filesystem>

namespace probex::test {
namespace {

class UnkeptTextsTest : public ProjectFixture {};

TEST_F(UnkeptTextsTest, SavingNamesWhatTheFileCannotGiveBack) {
    ASSERT_TRUE(model.inputs().AddInputVariable("x"));
    model.inputs().setCellText(1, InputColumn::Type, "my;file.dis");
    ASSERT_EQ(model.outputs().AddOutputVariable("Z", true), 1);
    model.outputs().setCell(1, colComment, "two\nlines; a=b");
    model.equations = {"[note"};
    const std::string path = dir.path("p.pxw");
    ASSERT_TRUE(WriteProject(model, path));
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{
                  "The equation line \"[note\" begins with \"[\" and would read back as a section "
                  "header.\nThe type of input variable x \"my;file.dis\" cannot be kept whole in "
                  "the project file: it will read back as \"my\".\nThe comment of output variable "
                  "Z \"two\nlines; a=b\" cannot be kept whole in the project file: it will read "
                  "back as \"two lines; a=b\"."});
    EXPECT_NE(ReadBytes(path).find("\r\nZ;Inactive;No;No;two lines; a=b\r\n"), std::string::npos);
}

TEST_F(UnkeptTextsTest, SeparatorsAReadingCouldNotTellApartRefuseTheSave) {
    settings.DecimalSep = settings.ListSep;
    EXPECT_FALSE(WriteProject(model, dir.path("p.pxw")));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{
                                    "The list separator \";\" and the decimal separator \";\" must "
                                    "be different characters! The project is not saved."});
    EXPECT_FALSE(std::filesystem::exists(dir.path("p.pxw")));
}

} // namespace
} // namespace probex::test
