#include "app/Settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDir.h"

namespace zentabo {
namespace {

using testing::ReadBack;
using testing::TempDir;

void WriteRaw(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SettingsTest, AMissingFileGivesTheDefaults) {
    TempDir dir;
    TWindowDefaults window{10, 20, 300, 400, 2, true, 128};
    TSettings s;
    ASSERT_TRUE(s.Load(dir.File("zentabo.ini"), window));
    EXPECT_EQ(s.Top, 10);
    EXPECT_EQ(s.Left, 20);
    EXPECT_EQ(s.Height, 300);
    EXPECT_EQ(s.Width, 400);
    EXPECT_EQ(s.WindowState, 2);
    EXPECT_TRUE(s.AlphaBlend);
    EXPECT_EQ(s.AlphaBlendValue, 128);
    EXPECT_FALSE(s.IndexMode);
    EXPECT_EQ(s.Index, 0);
    EXPECT_EQ(s.ImeMode, 0);
    EXPECT_TRUE(s.TabMultiLine);
    EXPECT_TRUE(s.ToolBarVisible);
    EXPECT_EQ(s.Font.Name, "FixedSys");
    EXPECT_EQ(s.Font.Size, 12);
    EXPECT_EQ(s.Font.Color, 0u);
    EXPECT_TRUE(s.ShowCR);
    EXPECT_TRUE(s.ShowEOF);
    EXPECT_FALSE(s.ShowDblSpace || s.ShowTAB || s.ShowLineNumber || s.ShowRuler || s.ShowRulerCur ||
                 s.ShowUnderLine || s.ColorPrintF || s.AutoWrap);
    EXPECT_EQ(s.RulerColor, 8421376u);
    EXPECT_EQ(s.RulerCurColor, 8421376u);
    EXPECT_EQ(s.Color, 16777215u);
    EXPECT_EQ(s.MarkColor, 8421376u);
    EXPECT_EQ(s.QuoteColor, 8421504u);
    EXPECT_EQ(s.FindColor, 65535u);
    EXPECT_EQ(s.SelColor, 8388608u);
    EXPECT_EQ(s.UrlColor, 16711935u);
    EXPECT_EQ(s.UlineColor, 16711680u);
    EXPECT_EQ(s.Column, 80);
    EXPECT_TRUE(s.WordWrap && s.HorzScrollBar && s.VertScrollBar);
    EXPECT_EQ(s.TabCount, 6);
    EXPECT_EQ(s.QuoteString, "\x3E\x7C\x81\x84");
    EXPECT_EQ(s.QuoteMark, ">");
    EXPECT_EQ(s.DateFormat, "(yyyy/mm/dd)");
    EXPECT_EQ(s.DateTimeFormat, "(yyyy/mm/dd hh:nn:ss)");
    EXPECT_EQ(s.ClassDialogText, "");
    EXPECT_EQ(s.ClassDialogList, "");
    EXPECT_FALSE(s.FindDialogAlphaBlend);
    EXPECT_EQ(s.FindDialogAlphaBlendValue, 255);

    // The IndexMode default is the field as it stands.
    TSettings keep;
    keep.IndexMode = true;
    keep.Load(dir.File("zentabo.ini"), window);
    EXPECT_TRUE(keep.IndexMode);
}

TEST(SettingsTest, ANewFileHasTheFiveSectionsInOrder) {
    TempDir dir;
    TSettings s;
    s.Load(dir.File("z.ini"), TWindowDefaults{});
    ASSERT_TRUE(s.Save(dir.File("z.ini")));
    std::string text = ReadBack(dir.File("z.ini"));
    std::size_t last = 0;
    for (const char* section :
         {"[Window]", "[Editor]", "[Option]", "[ClassDialog]", "[FindDialog]"}) {
        std::size_t at = text.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GE(at, last) << section;
        last = at;
    }
    EXPECT_EQ(text.find("[Window]\r\nTop=107\r\nLeft=192\r\nHeight=480\r\nWidth=640\r\n"
                        "WindowState=0\r\nAlphaBlend=0\r\nAlphaBlendValue=255\r\n"
                        "IndexMode=0\r\nIndex=0\r\nImeMode=0\r\nTabMultiLine=1\r\n"
                        "ToolBarVisible=1\r\n"),
              0u);
    EXPECT_NE(text.find("QuoteString=\x3E\x7C\x81\x84\r\n"), std::string::npos);
    EXPECT_NE(text.find("DateTimeFormat=(yyyy/mm/dd hh:nn:ss)\r\n"), std::string::npos);
    EXPECT_NE(text.find("[FindDialog]\r\nAlphaBlend=0\r\nAlphaBlendValue=255\r\n"),
              std::string::npos);

    TSettings back;
    back.Load(dir.File("z.ini"), TWindowDefaults{1, 1, 1, 1, 1, true, 1});
    EXPECT_EQ(back.Top, 107);
    EXPECT_EQ(back.QuoteString, s.QuoteString);
}

TEST(SettingsTest, ValuesReadAsWritten) {
    TempDir dir;
    WriteRaw(dir.File("z.ini"),
             "[editor]\r\nfontsize=0x10\r\nTABCOUNT=$10\r\nColumn=4O\r\nQuoteString=\r\n"
             "FontColor=$FFFFFFFF\r\n[Window]\r\nIndexMode=2\r\nshowcr=0\r\n"
             "[Option]\r\nQuoteMark=\"> \"\r\n");
    TSettings s;
    s.Load(dir.File("z.ini"), TWindowDefaults{});
    EXPECT_EQ(s.Font.Size, 16);
    EXPECT_EQ(s.TabCount, 16);
    EXPECT_EQ(s.Column, 80);       // not a number: the default
    EXPECT_EQ(s.QuoteString, "");  // present and empty stays empty
    EXPECT_EQ(s.Font.Color, 0xFFFFFFFFu);
    EXPECT_TRUE(s.IndexMode);
    EXPECT_TRUE(s.ShowCR);  // ShowCR lives in Editor, not Window
    EXPECT_EQ(s.QuoteMark, "> ");

    s.QuoteMark = " >> ";
    s.ClassDialogList = "note,\"a b\"";
    ASSERT_TRUE(s.Save(dir.File("z.ini")));
    TSettings back;
    back.Load(dir.File("z.ini"), TWindowDefaults{});
    EXPECT_EQ(back.QuoteMark, " >> ");
    EXPECT_EQ(back.ClassDialogList, "note,\"a b\"");
    EXPECT_EQ(back.Font.Color, 0xFFFFFFFFu);
}

TEST(SettingsTest, ForeignContentSurvivesAStartAndAnExit) {
    TempDir dir;
    std::string path = dir.File("z.ini");
    WriteRaw(path, "; mine\r\n[Window]\r\nMyKey=\x82\xA0 stays\r\nTop=3\r\n[Plugin]\r\nx=1\r\n");
    TSettings s;
    s.Load(path, TWindowDefaults{});
    s.Top = 44;
    ASSERT_TRUE(s.Save(path));
    std::string text = ReadBack(path);
    EXPECT_EQ(text.find("; mine\r\n[Window]\r\nMyKey=\x82\xA0 stays\r\nTop=44\r\n"), 0u);
    EXPECT_NE(text.find("[Plugin]\r\nx=1\r\n"), std::string::npos);
    IniFile ini(text);
    EXPECT_EQ(ini.ReadInteger("Editor", "FontSize", 0), 12);
}

TEST(SettingsTest, AFailedSaveIsReportedAndKeepsTheOldFile) {
    TempDir dir;
    std::string path = dir.File("z.ini");
    WriteRaw(path, "[Window]\r\nTop=1\r\n");
    TSettings s;
    s.Load(path, TWindowDefaults{});
    s.Top = 2;
    FileResult r = s.Save(path, [](WriteStep step) { return step == WriteStep::Write; });
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(ReadBack(path), "[Window]\r\nTop=1\r\n");
    EXPECT_FALSE(s.Save(dir.File("missing/z.ini")).ok);

    // An existing file we cannot read is not overwritten with what we know.
    std::filesystem::create_directory(dir.File("folder.ini"));
    EXPECT_FALSE(s.Save(dir.File("folder.ini")).ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.ini")));
}

}  // namespace
}  // namespace zentabo
