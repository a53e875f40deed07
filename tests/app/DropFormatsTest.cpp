#include <gtest/gtest.h>

#include <string>

#include "app/ClipboardFormats.h"
#include "app/DropEffects.h"
#include "app/DroppedUrl.h"

namespace zentabo {
namespace {

constexpr uint32_t kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TEST(DropEffectsTest, ModifiersPreferAnEffectThatTheFormatMayRefuse) {
    const std::vector<FormatOffer> url{{true, EffectSet(ekCopy)}};
    // Copy only: a source allowing nothing but move is refused, Shift still copies.
    EXPECT_EQ(ChooseFormat(url, DROPEFFECT_MOVE, 0).item, -1);
    EXPECT_EQ(ChooseFormat(url, DROPEFFECT_MOVE, 0).effect, ekNone);
    EXPECT_EQ(ChooseFormat(url, kAll, MK_SHIFT).effect, ekCopy);

    const TDropEffects any = EffectSet(ekCopy) | EffectSet(ekMove) | EffectSet(ekLink);
    const std::vector<FormatOffer> all{{true, any}};
    EXPECT_EQ(ChooseFormat(all, kAll, 0).effect, ekCopy);
    EXPECT_EQ(ChooseFormat(all, kAll, MK_CONTROL).effect, ekCopy);
    EXPECT_EQ(ChooseFormat(all, kAll, MK_SHIFT).effect, ekMove);
    EXPECT_EQ(ChooseFormat(all, kAll, MK_SHIFT | MK_CONTROL).effect, ekLink);
    // Link preferred but not allowed: the first allowed of copy, move, link.
    EXPECT_EQ(ChooseFormat(all, DROPEFFECT_MOVE, MK_SHIFT | MK_CONTROL).effect, ekMove);
    EXPECT_EQ(ChooseFormat(all, DROPEFFECT_LINK | DROPEFFECT_MOVE, 0).effect, ekMove);
}

TEST(DropEffectsTest, TheFirstOfferedFormatWithACommonEffectWins) {
    const std::vector<FormatOffer> formats{
        {false, EffectSet(ekCopy)},  // not in the data
        {true, EffectSet(ekLink)},   // no effect in common with a copy-move source
        {true, EffectSet(ekMove)},
        {true, EffectSet(ekCopy)},  // would prefer copy, but comes later
    };
    const FormatChoice c = ChooseFormat(formats, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0);
    EXPECT_EQ(c.item, 2);
    EXPECT_EQ(c.effect, ekMove);
    EXPECT_EQ(EffectsToMask(MaskToEffects(kAll | 0x80)), kAll);
    EXPECT_EQ(MaskToEffects(0), 0);
}

TEST(ClipboardFormatsTest, PredefinedNamesKeepTheirNumbersOthersAreRegisteredOnce) {
    const std::string beforeText = RegisteredFormatName(ResolveFormatName("CF_TEXT"));
    EXPECT_EQ(ResolveFormatName("CF_TEXT"), 1);
    EXPECT_EQ(beforeText, "");  // nothing was registered for it
    EXPECT_EQ(ResolveFormatName("CF_HDROP"), 15);
    EXPECT_EQ(ResolveFormatName("CF_OEMTEXT"), 7);
    EXPECT_EQ(ResolveFormatName("CF_DSPENHMETAFILE"), 142);
    // Another letter case is no predefined name: it is registered.
    const uint16_t lower = ResolveFormatName("cf_text");
    EXPECT_GE(lower, 0xC000);
    EXPECT_EQ(RegisteredFormatName(lower), "cf_text");
    const uint16_t url = ResolveFormatName("UniformResourceLocator");
    EXPECT_GE(url, 0xC000);
    EXPECT_NE(url, lower);
    EXPECT_EQ(ResolveFormatName("UniformResourceLocator"), url);
    EXPECT_EQ(RegisterClipboardFormat("uniformresourcelocator"), url);
    EXPECT_EQ(ResolveFormatName("CF_NOSUCH"), RegisterClipboardFormat("CF_NOSUCH"));
    EXPECT_EQ(ResolveFormatName(""), 0);
}

std::string Utf16Le(std::u16string_view s) {
    std::string bytes;
    for (char16_t c : s) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(DroppedUrlTest, ReadsTheAddressOfEachFormatABrowserOrFileManagerOffers) {
    EXPECT_EQ(MozUrlAddress(Utf16Le(u"https://example.org/x\nDrag me")), u"https://example.org/x");
    EXPECT_EQ(MozUrlAddress("\xFE\xFF" + std::string("\0h\0t\0\n\0T", 8)), u"ht");
    EXPECT_EQ(MozUrlAddress(Utf16Le(u"a\r\n")), u"a");
    EXPECT_EQ(MozUrlAddress(std::string("h\0t", 3)), u"h");  // an odd last byte is dropped
    EXPECT_EQ(FirstUriListEntry("# comment\r\nfile:///tmp/a%20b.html\r\nfile:///c\r\n"),
              u"file:///tmp/a%20b.html");
    EXPECT_EQ(FirstUriListEntry("# only\n\n"), u"");
    EXPECT_EQ(NetscapeUrlAddress("https://example.org/\xE6\x97\xA5\nTitle"),
              u"https://example.org/\u65E5");
}

TEST(DroppedUrlTest, KeepsWhatCodePage932CannotHoldAsPercentEscapes) {
    EXPECT_EQ(UrlToCp932(u"http://x.jp/\u65E5\u672C"), "http://x.jp/\x93\xFA\x96\x7B");
    EXPECT_EQ(UrlToCp932(u"http://x/\u00E9\U0001F600/\u65E5"),
              "http://x/%C3%A9%F0%9F%98%80/\x93\xFA");
    // A lone surrogate has no UTF-8: the replacement character stands for it.
    EXPECT_EQ(UrlToCp932(std::u16string(u"a") + char16_t(0xD800) + u"b"), "a%EF%BF%BDb");
    EXPECT_EQ(UrlToCp932(u""), "");
}

}  // namespace
}  // namespace zentabo
