#pragma once

// All user preferences, read from the INI file at start and written back at exit.
// The struct is plain so dialogs and pages can copy it.

#include <string>

#include "app/FileIo.h"
#include "app/IniFile.h"
#include "platform/FontTypes.h"

namespace zentabo {

// The main window's current bounds and translucency: the defaults of the Window
// section when the file does not have them.
struct TWindowDefaults {
    int Top = 107;
    int Left = 192;
    int Height = 480;
    int Width = 640;
    int WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
    bool AlphaBlend = false;
    int AlphaBlendValue = 255;
};

struct TSettingsFont {
    std::string Name;
    int Size = 0;  // points
    TColor Color = 0;
};

// The default of "QuoteString": ">", "|" and the full-width "＞" in code page 932.
inline const std::string kDefaultQuoteString = "\x3E\x7C\x81\x84";

struct TSettings {
    // Window
    int Top = 0;
    int Left = 0;
    int Height = 0;
    int Width = 0;
    int WindowState = 0;
    bool AlphaBlend = false;
    int AlphaBlendValue = 0;
    bool IndexMode = false;
    int Index = 0;
    int ImeMode = 0;
    bool TabMultiLine = false;
    bool ToolBarVisible = false;

    // Editor
    TSettingsFont Font;  // keys FontName, FontSize, FontColor
    bool ShowCR = false;
    bool ShowEOF = false;
    bool ShowDblSpace = false;
    bool ShowTAB = false;
    bool ShowLineNumber = false;
    bool ShowRuler = false;
    bool ShowRulerCur = false;
    TColor RulerColor = 0;
    TColor RulerCurColor = 0;
    bool ShowUnderLine = false;
    bool ColorPrintF = false;
    TColor Color = 0;
    TColor MarkColor = 0;
    TColor QuoteColor = 0;
    TColor FindColor = 0;
    TColor SelColor = 0;
    TColor UrlColor = 0;
    TColor UlineColor = 0;
    int Column = 0;
    bool AutoWrap = false;
    bool WordWrap = false;
    bool HorzScrollBar = false;
    bool VertScrollBar = false;
    int TabCount = 0;
    std::string QuoteString;

    // Option
    std::string QuoteMark;
    std::string DateFormat;
    std::string DateTimeFormat;
    bool AutoCheck = false;  // check XHTML again after typing stops
    // The DTD a fragment is validated against as body content: Strict, Transitional,
    // Frameset, XHTML11, or None for well-formedness only.
    std::string FragmentDtd;
    // Seconds of quiet after which the page store is written while the program runs
    // (0: only at close).
    int SnapshotSeconds = 0;

    // ClassDialog
    std::string ClassDialogText;
    std::string ClassDialogList;  // comma text, see CommaText.h

    // FindDialog
    bool FindDialogAlphaBlend = false;
    int FindDialogAlphaBlendValue = 0;

    // Reads every key with its default; a missing file gives all defaults. The
    // "IndexMode" default is the field's value at the time of the call. A file that
    // exists but cannot be read also gives the defaults, and the failure is returned.
    FileResult Load(const std::string& path, const TWindowDefaults& window);
    // Writes every key into the existing file, keeping everything else in it. When
    // the existing file cannot be read, nothing is written: rewriting it would drop
    // the content we could not see.
    FileResult Save(const std::string& path, const WriteFaultInjector& fault = {}) const;

    void ReadFrom(const IniFile& ini, const TWindowDefaults& window);
    void WriteTo(IniFile& ini) const;
};

}  // namespace zentabo
