#include "app/Settings.h"

namespace zentabo {
namespace {

constexpr const char* kWindow = "Window";
constexpr const char* kEditor = "Editor";
constexpr const char* kOption = "Option";
constexpr const char* kClassDialog = "ClassDialog";
constexpr const char* kFindDialog = "FindDialog";
constexpr int kDefaultSnapshotSeconds = 5;

// Colours are stored as the signed 32-bit integers of the file format.
TColor ReadColor(const IniFile& ini, const char* key, TColor def) {
    return static_cast<TColor>(ini.ReadInteger(kEditor, key, static_cast<int>(def)));
}

void WriteColor(IniFile& ini, const char* key, TColor value) {
    ini.WriteInteger(kEditor, key, static_cast<int>(value));
}

}  // namespace

void TSettings::ReadFrom(const IniFile& ini, const TWindowDefaults& window) {
    Top = ini.ReadInteger(kWindow, "Top", window.Top);
    Left = ini.ReadInteger(kWindow, "Left", window.Left);
    Height = ini.ReadInteger(kWindow, "Height", window.Height);
    Width = ini.ReadInteger(kWindow, "Width", window.Width);
    WindowState = ini.ReadInteger(kWindow, "WindowState", window.WindowState);
    AlphaBlend = ini.ReadBool(kWindow, "AlphaBlend", window.AlphaBlend);
    AlphaBlendValue = ini.ReadInteger(kWindow, "AlphaBlendValue", window.AlphaBlendValue);
    IndexMode = ini.ReadBool(kWindow, "IndexMode", IndexMode);
    Index = ini.ReadInteger(kWindow, "Index", 0);
    ImeMode = ini.ReadInteger(kWindow, "ImeMode", 0);
    TabMultiLine = ini.ReadBool(kWindow, "TabMultiLine", true);
    ToolBarVisible = ini.ReadBool(kWindow, "ToolBarVisible", true);

    Font.Name = ini.ReadString(kEditor, "FontName", "FixedSys");
    Font.Size = ini.ReadInteger(kEditor, "FontSize", 12);
    Font.Color = ReadColor(ini, "FontColor", 0);
    ShowCR = ini.ReadBool(kEditor, "ShowCR", true);
    ShowEOF = ini.ReadBool(kEditor, "ShowEOF", true);
    ShowDblSpace = ini.ReadBool(kEditor, "ShowDblSpace", false);
    ShowTAB = ini.ReadBool(kEditor, "ShowTAB", false);
    ShowLineNumber = ini.ReadBool(kEditor, "ShowLineNumber", false);
    ShowRuler = ini.ReadBool(kEditor, "ShowRuler", false);
    ShowRulerCur = ini.ReadBool(kEditor, "ShowRulerCur", false);
    RulerColor = ReadColor(ini, "RulerColor", 0x808000);
    RulerCurColor = ReadColor(ini, "RulerCurColor", 0x808000);
    ShowUnderLine = ini.ReadBool(kEditor, "ShowUnderLine", false);
    ColorPrintF = ini.ReadBool(kEditor, "ColorPrintF", false);
    Color = ReadColor(ini, "Color", 0xFFFFFF);
    MarkColor = ReadColor(ini, "MarkColor", 0x808000);
    QuoteColor = ReadColor(ini, "QuoteColor", 0x808080);
    FindColor = ReadColor(ini, "FindColor", 0x00FFFF);
    SelColor = ReadColor(ini, "SelColor", 0x800000);
    UrlColor = ReadColor(ini, "UrlColor", 0xFF00FF);
    UlineColor = ReadColor(ini, "UlineColor", 0xFF0000);
    Column = ini.ReadInteger(kEditor, "Column", 80);
    AutoWrap = ini.ReadBool(kEditor, "AutoWrap", false);
    WordWrap = ini.ReadBool(kEditor, "WordWrap", true);
    HorzScrollBar = ini.ReadBool(kEditor, "HorzScrollBar", true);
    VertScrollBar = ini.ReadBool(kEditor, "VertScrollBar", true);
    TabCount = ini.ReadInteger(kEditor, "TabCount", 6);
    QuoteString = ini.ReadString(kEditor, "QuoteString", kDefaultQuoteString);

    QuoteMark = ini.ReadString(kOption, "QuoteMark", ">");
    DateFormat = ini.ReadString(kOption, "DateFormat", "(yyyy/mm/dd)");
    DateTimeFormat = ini.ReadString(kOption, "DateTimeFormat", "(yyyy/mm/dd hh:nn:ss)");
    AutoCheck = ini.ReadBool(kOption, "AutoCheck", false);
    FragmentDtd = ini.ReadString(kOption, "FragmentDtd", "Strict");
    SnapshotSeconds = ini.ReadInteger(kOption, "SnapshotSeconds", kDefaultSnapshotSeconds);
    // A negative interval is a slip of the hand, not a wish to lose the pages.
    if (SnapshotSeconds < 0) SnapshotSeconds = kDefaultSnapshotSeconds;

    ClassDialogText = ini.ReadString(kClassDialog, "Text", "");
    ClassDialogList = ini.ReadString(kClassDialog, "List", "");

    FindDialogAlphaBlend = ini.ReadBool(kFindDialog, "AlphaBlend", false);
    FindDialogAlphaBlendValue = ini.ReadInteger(kFindDialog, "AlphaBlendValue", 255);
}

void TSettings::WriteTo(IniFile& ini) const {
    ini.WriteInteger(kWindow, "Top", Top);
    ini.WriteInteger(kWindow, "Left", Left);
    ini.WriteInteger(kWindow, "Height", Height);
    ini.WriteInteger(kWindow, "Width", Width);
    ini.WriteInteger(kWindow, "WindowState", WindowState);
    ini.WriteBool(kWindow, "AlphaBlend", AlphaBlend);
    ini.WriteInteger(kWindow, "AlphaBlendValue", AlphaBlendValue);
    ini.WriteBool(kWindow, "IndexMode", IndexMode);
    ini.WriteInteger(kWindow, "Index", Index);
    ini.WriteInteger(kWindow, "ImeMode", ImeMode);
    ini.WriteBool(kWindow, "TabMultiLine", TabMultiLine);
    ini.WriteBool(kWindow, "ToolBarVisible", ToolBarVisible);

    ini.WriteString(kEditor, "FontName", Font.Name);
    ini.WriteInteger(kEditor, "FontSize", Font.Size);
    WriteColor(ini, "FontColor", Font.Color);
    ini.WriteBool(kEditor, "ShowCR", ShowCR);
    ini.WriteBool(kEditor, "ShowEOF", ShowEOF);
    ini.WriteBool(kEditor, "ShowDblSpace", ShowDblSpace);
    ini.WriteBool(kEditor, "ShowTAB", ShowTAB);
    ini.WriteBool(kEditor, "ShowLineNumber", ShowLineNumber);
    ini.WriteBool(kEditor, "ShowRuler", ShowRuler);
    ini.WriteBool(kEditor, "ShowRulerCur", ShowRulerCur);
    WriteColor(ini, "RulerColor", RulerColor);
    WriteColor(ini, "RulerCurColor", RulerCurColor);
    ini.WriteBool(kEditor, "ShowUnderLine", ShowUnderLine);
    ini.WriteBool(kEditor, "ColorPrintF", ColorPrintF);
    WriteColor(ini, "Color", Color);
    WriteColor(ini, "MarkColor", MarkColor);
    WriteColor(ini, "QuoteColor", QuoteColor);
    WriteColor(ini, "FindColor", FindColor);
    WriteColor(ini, "SelColor", SelColor);
    WriteColor(ini, "UrlColor", UrlColor);
    WriteColor(ini, "UlineColor", UlineColor);
    ini.WriteInteger(kEditor, "Column", Column);
    ini.WriteBool(kEditor, "AutoWrap", AutoWrap);
    ini.WriteBool(kEditor, "WordWrap", WordWrap);
    ini.WriteBool(kEditor, "HorzScrollBar", HorzScrollBar);
    ini.WriteBool(kEditor, "VertScrollBar", VertScrollBar);
    ini.WriteInteger(kEditor, "TabCount", TabCount);
    ini.WriteString(kEditor, "QuoteString", QuoteString);

    ini.WriteString(kOption, "QuoteMark", QuoteMark);
    ini.WriteString(kOption, "DateFormat", DateFormat);
    ini.WriteString(kOption, "DateTimeFormat", DateTimeFormat);
    ini.WriteBool(kOption, "AutoCheck", AutoCheck);
    ini.WriteString(kOption, "FragmentDtd", FragmentDtd);
    ini.WriteInteger(kOption, "SnapshotSeconds", SnapshotSeconds);

    ini.WriteString(kClassDialog, "Text", ClassDialogText);
    ini.WriteString(kClassDialog, "List", ClassDialogList);

    ini.WriteBool(kFindDialog, "AlphaBlend", FindDialogAlphaBlend);
    ini.WriteInteger(kFindDialog, "AlphaBlendValue", FindDialogAlphaBlendValue);
}

FileResult TSettings::Load(const std::string& path, const TWindowDefaults& window) {
    IniFile ini;
    FileResult r = ini.Load(path);
    ReadFrom(ini, window);
    return r;
}

FileResult TSettings::Save(const std::string& path, const WriteFaultInjector& fault) const {
    IniFile ini;
    if (FileResult r = ini.Load(path); !r) return r;
    WriteTo(ini);
    return ini.Save(path, fault);
}

}  // namespace zentabo
