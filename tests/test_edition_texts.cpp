// Edition texts: every text id has a text in this edition, and both text files carry the same
// ids in the same order.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "kit/texts.h"

namespace {

// Source files are read through Wine's mapping of the Unix root to drive Z:.
std::string ReadSourceFile(const std::string& relative)
{
    std::ifstream file("Z:" ZENTIL_SOURCE_DIR "/" + relative, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern)
{
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) found.push_back((*it)[1]);
    return found;
}

}  // namespace

TEST(EditionTexts, EveryTextIdHasATextInThisEdition)
{
    std::string header = ReadSourceFile("resources/resource.h");
    ASSERT_FALSE(header.empty());
    std::regex definition("#define\\s+(IDS_\\w+)\\s+(\\d+)");
    int checked = 0;
    for (std::sregex_iterator it(header.begin(), header.end(), definition), end; it != end; ++it) {
        WCHAR text[EDITION_TEXT_MAX_CHARS];
        SCOPED_TRACE((*it)[1].str());
        EXPECT_GT(LoadEditionText((UINT)std::stoi((*it)[2].str()), text, EDITION_TEXT_MAX_CHARS), 0);
        checked++;
    }
    EXPECT_GT(checked, 20);
}

TEST(EditionTexts, BothFilesHaveTheSameIdsInTheSameOrder)
{
    std::regex entry("\\n\\s*(IDS_\\w+)\\s+\"");
    std::vector<std::string> english = Matches(ReadSourceFile("resources/texts_en.rc"), entry);
    std::vector<std::string> czech = Matches(ReadSourceFile("resources/texts_cz.rc"), entry);
    EXPECT_FALSE(english.empty());
    EXPECT_EQ(english, czech);
    std::regex menuItem("MENUITEM\\s+\"[^\"]*\",\\s*(IDM_\\w+)");
    EXPECT_EQ(Matches(ReadSourceFile("resources/texts_en.rc"), menuItem),
              Matches(ReadSourceFile("resources/texts_cz.rc"), menuItem));
}
