#include "commands/XhtmlCheck.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "commands/XhtmlCatalog.h"
#include "commands/XhtmlDoctype.h"
#include "store/Cp932Codec.h"

namespace zentabo {
namespace {

using Kind = XhtmlProblemKind;

std::string Sjis(const std::string& utf8) {
    return Utf8ToCp932(utf8).bytes;
}

std::string Selected(const std::string& text, const XhtmlProblem& p) {
    return text.substr(p.selStart, p.selEnd - p.selStart);
}

const XhtmlProblem* FindKind(const XhtmlCheckResult& r, Kind kind) {
    for (const XhtmlProblem& p : r.problems)
        if (p.kind == kind) return &p;
    return nullptr;
}

std::string Kinds(const XhtmlCheckResult& r) {
    std::string out;
    for (const XhtmlProblem& p : r.problems)
        out += std::to_string(static_cast<int>(p.kind)) + ":" + p.message + "\n";
    return out;
}

std::string Document(XhtmlDtd dtd, const std::string& body) {
    std::string head =
        std::string("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<!DOCTYPE html PUBLIC \"") +
        XhtmlDtdPublicId(dtd) + "\" \"" + XhtmlDtdSystemId(dtd) + "\">\n" +
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>\n";
    if (dtd == XhtmlDtd::kFrameset10)
        return head + "<frameset><frame src=\"a.html\" /><noframes><body>\n" + body +
               "</body></noframes></frameset></html>\n";
    return head + "<body>\n" + body + "</body></html>\n";
}

// The caret goes to the byte the editor shows, whatever line breaks, tabs,
// half-width katakana (one byte, three in UTF-8) and double-byte characters (one of
// them with the trail byte '\') stand before the fault.
TEST(XhtmlCheckTest, PositionsAreLogicalLinesAndCodePageColumns) {
    for (const std::string br : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(br == "\r\n" ? "CR LF" : br == "\r" ? "CR" : "LF");
        const std::string text = Sjis("<p>日本語ﾃｷｽﾄ</p>" + br + "\t<p>\tｶﾅ漢字ソ&foo;</p>" + br +
                                      br + "<p>表<img src=\"a.png\" /></p>" + br + "<div>ソ");
        XhtmlCheckResult r = CheckXhtml(text);
        ASSERT_TRUE(r.fragment);
        const std::size_t lineStart1 = text.find("\t<p>");
        const XhtmlProblem* entity = FindKind(r, Kind::kUndefinedEntity);
        ASSERT_TRUE(entity) << Kinds(r);
        EXPECT_EQ(entity->line, 1);
        EXPECT_EQ(entity->column, static_cast<int>(text.find("&foo;") - lineStart1));
        EXPECT_EQ(Selected(text, *entity), "&foo;");

        const XhtmlProblem* alt = FindKind(r, Kind::kRequiredAttributeMissing);
        ASSERT_TRUE(alt) << Kinds(r);
        EXPECT_EQ(alt->line, 3);
        EXPECT_EQ(alt->column, 5);  // after "<p>" and a double-byte character
        EXPECT_EQ(Selected(text, *alt), "<img src=\"a.png\" />");

        const XhtmlProblem* open = FindKind(r, Kind::kElementNotClosed);
        ASSERT_TRUE(open) << Kinds(r);
        EXPECT_EQ(open->line, 4);
        EXPECT_EQ(open->column, 0);
        EXPECT_EQ(Selected(text, *open), "<div>");
    }
}

// Far into a long page, where libxml2 has long dropped the start of its input, on
// two threads at once: each check keeps its own positions.
TEST(XhtmlCheckTest, PositionsFarIntoALongPageOnTwoThreads) {
    std::string filler;
    while (filler.size() < (1u << 20)) filler += Sjis("<p>日本語の段落、ｶﾀｶﾅと漢字ソ表。</p>\r\n");
    const std::string first = filler + Sjis("<p>表&nope;</p>\r\n") + filler;
    const std::string second = filler + filler + Sjis("\t<p>ソ<b>x</p>\r\n");
    XhtmlCheckResult a, b;
    std::thread worker([&] { b = CheckXhtml(second); });
    a = CheckXhtml(first);
    worker.join();
    ASSERT_EQ(a.problems.size(), 1u) << Kinds(a);
    EXPECT_EQ(a.problems[0].offset, first.find("&nope;"));
    EXPECT_EQ(a.problems[0].column, 5);
    const XhtmlProblem* mismatch = FindKind(b, Kind::kEndTagMismatch);
    ASSERT_TRUE(mismatch) << Kinds(b);
    EXPECT_EQ(mismatch->selStart, second.rfind("</p>"));
    EXPECT_EQ(mismatch->column, 10);
    EXPECT_EQ(mismatch->line, 2 * std::count(filler.begin(), filler.end(), '\n'));
}

TEST(XhtmlCheckTest, DocumentOrFragment) {
    EXPECT_TRUE(ClassifyXhtmlPage(" \r\n\t<?xml version=\"1.0\"?><p/>").document);
    EXPECT_TRUE(ClassifyXhtmlPage("<!DOCTYPE html>\n<html></html>").document);
    EXPECT_TRUE(ClassifyXhtmlPage("\n<html xmlns=\"http://www.w3.org/1999/xhtml\">").document);
    EXPECT_TRUE(ClassifyXhtmlPage("<html>").document);
    XhtmlPageShape shape = ClassifyXhtmlPage(
        "<!-- top -->\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.1//EN\" \"xhtml11.dtd\">");
    EXPECT_TRUE(shape.document);
    EXPECT_EQ(shape.dtd, XhtmlDtd::kXhtml11);
    EXPECT_EQ(ClassifyXhtmlPage("<!DOCTYPE html SYSTEM \"http://www.w3.org/TR/xhtml1/DTD/"
                                "xhtml1-transitional.dtd\"><html/>")
                  .dtd,
              XhtmlDtd::kTransitional10);
    EXPECT_FALSE(ClassifyXhtmlPage("<htmlx>").document);
    EXPECT_FALSE(ClassifyXhtmlPage("<p>a</p>").document);
    EXPECT_FALSE(ClassifyXhtmlPage("text <html>").document);
    EXPECT_FALSE(ClassifyXhtmlPage("").document);

    // A right fragment checks cleanly, with the XHTML entities known.
    XhtmlCheckResult r =
        CheckXhtml(Sjis("<h1>見出し</h1>\r\n<p>a&nbsp;b &copy; &#x41; &amp;</p>\r\n"));
    EXPECT_TRUE(r.fragment);
    EXPECT_EQ(r.validatedWith, XhtmlDtd::kStrict10);
    EXPECT_TRUE(r.problems.empty()) << Kinds(r);
    EXPECT_TRUE(CheckXhtml("").problems.empty());

    // <!DOCTYPE html> is checked for well-formedness only: the nested <p> passes, the
    // crossed tags do not; the entities are still known.
    r = CheckXhtml(
        "<!DOCTYPE html>\n<html><body><p>a<p>&nbsp;</p></p><em><b>x</em></b></body></html>");
    EXPECT_FALSE(r.fragment);
    EXPECT_EQ(r.validatedWith, XhtmlDtd::kNone);
    ASSERT_FALSE(r.problems.empty());
    EXPECT_EQ(r.problems[0].kind, Kind::kEndTagMismatch) << Kinds(r);
    EXPECT_FALSE(FindKind(r, Kind::kUndefinedEntity));
    EXPECT_FALSE(FindKind(r, Kind::kElementNotAllowed));
}

// A fragment is checked inside a shell of html, body (and frameset's noframes) that
// the user never wrote: every row selects a tag of the page and names that tag, and
// each element left open gets one row at its start tag, however libxml2 recovered.
TEST(XhtmlCheckTest, FragmentRowsNeverNameTheShell) {
    struct Case {
        std::string text;
        std::vector<std::string> selected;  // in text order
    };
    const std::vector<Case> cases = {
        {Sjis("<ul><li>項目</ul>"), {"</ul>"}},
        {Sjis("<ul><li>項目</ul>\r\n"), {"</ul>"}},
        {Sjis("<div><ul><li>項目</ul>"), {"<div>", "</ul>"}},
        {Sjis("<p>a</p>\n<div><p><em>項目"), {"<div>", "<p>", "<em>"}},
        {Sjis("<div>項目</html>"), {"<div>", "</html>"}},
        {Sjis("<p>項目</p></body></html>\n"), {"</body>", "</html>"}},
        {Sjis("<ul><li>項目</ul></noframes>"), {"</ul>", "</noframes>"}},
    };
    for (XhtmlDtd dtd : {XhtmlDtd::kNone, XhtmlDtd::kStrict10, XhtmlDtd::kFrameset10}) {
        XhtmlCheckOptions options;
        options.fragmentDtd = dtd;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(static_cast<int>(dtd)) + " " + Cp932ToUtf8(c.text));
            XhtmlCheckResult r = CheckXhtml(c.text, options);
            ASSERT_TRUE(r.fragment);
            std::vector<std::string> selected;
            for (const XhtmlProblem& p : r.problems) {
                selected.push_back(Selected(c.text, p));
                EXPECT_NE(p.message.find(selected.back()), std::string::npos) << Kinds(r);
            }
            EXPECT_EQ(selected, c.selected) << Kinds(r);
        }
    }
}

TEST(XhtmlCheckTest, EachXhtmlDtdFindsNestedParagraphAndMissingAlt) {
    for (XhtmlDtd dtd : {XhtmlDtd::kStrict10, XhtmlDtd::kTransitional10, XhtmlDtd::kFrameset10,
                         XhtmlDtd::kXhtml11}) {
        SCOPED_TRACE(XhtmlDtdPublicId(dtd));
        ASSERT_TRUE(XhtmlDtdInstalled(dtd)) << "w3c-sgml-lib is needed";
        const std::string good = Document(dtd, "<p>a <img src=\"x.png\" alt=\"x\" /></p>\n");
        XhtmlCheckResult r = CheckXhtml(good);
        EXPECT_EQ(r.validatedWith, dtd);
        EXPECT_TRUE(r.problems.empty()) << Kinds(r);

        const std::string bad = Document(dtd, "<p>a<p>b</p></p>\n<p><img src=\"x.png\" /></p>\n");
        r = CheckXhtml(bad);
        const XhtmlProblem* nested = FindKind(r, Kind::kElementNotAllowed);
        ASSERT_TRUE(nested) << Kinds(r);
        EXPECT_EQ(nested->selStart, bad.find("<p>b"));
        EXPECT_EQ(Selected(bad, *nested), "<p>");
        const XhtmlProblem* alt = FindKind(r, Kind::kRequiredAttributeMissing);
        ASSERT_TRUE(alt) << Kinds(r);
        EXPECT_EQ(Selected(bad, *alt), "<img src=\"x.png\" />");

        // The same body content as a fragment under this DTD.
        XhtmlCheckOptions options;
        options.fragmentDtd = dtd;
        r = CheckXhtml("<p>a<p>b</p></p>", options);
        EXPECT_EQ(r.validatedWith, dtd);
        ASSERT_TRUE(FindKind(r, Kind::kElementNotAllowed)) << Kinds(r);
        EXPECT_EQ(FindKind(r, Kind::kElementNotAllowed)->selStart, 4u);
        EXPECT_TRUE(CheckXhtml("<p>a</p>", options).problems.empty());
    }
}

// Checks made after the parse (an id nobody defines) still find their tag, on a page
// with CR-only lines that libxml2 does not count.
TEST(XhtmlCheckTest, ChecksAtTheEndFindTheirTag) {
    const std::string text =
        "<p>a</p>\r<form action=\"x\"><p><label for=\"nope\">L</label></p></form>\r<p>c</p>";
    XhtmlCheckResult r = CheckXhtml(text);
    ASSERT_EQ(r.problems.size(), 1u) << Kinds(r);
    EXPECT_EQ(Selected(text, r.problems[0]), "<label for=\"nope\">");
    EXPECT_EQ(r.problems[0].line, 1);
    EXPECT_NE(r.problems[0].message.find("nope"), std::string::npos);
}

TEST(XhtmlCheckTest, EverydayFaultsGetTheirOwnKinds) {
    const std::string text =
        "<p>a & b &nbsp;x &undefined; <em><strong>x</em></strong></p>\n"
        "<p>stray</b></p>\n<p class=\"a\" class=\"b\">c</p>\n<p><input checked /></p>\n"
        "<p>\x01</p>\n<p id=x>d</p>\n";
    XhtmlCheckResult r = CheckXhtml(text, {XhtmlDtd::kNone});
    EXPECT_EQ(r.validatedWith, XhtmlDtd::kNone);
    auto selected = [&](Kind k) {
        const XhtmlProblem* p = FindKind(r, k);
        return p ? Selected(text, *p) : "(missing)\n" + Kinds(r);
    };
    EXPECT_EQ(selected(Kind::kBareAmpersand), "&");
    EXPECT_EQ(selected(Kind::kUndefinedEntity), "&undefined;");
    EXPECT_EQ(selected(Kind::kEndTagMismatch), "</em>");
    EXPECT_EQ(selected(Kind::kEndTagWithoutStart), "</strong>");
    EXPECT_EQ(selected(Kind::kDuplicateAttribute), "<p class=\"a\" class=\"b\">");
    EXPECT_EQ(selected(Kind::kAttributeWithoutValue).substr(0, 6), "<input");
    EXPECT_EQ(selected(Kind::kAttributeWithoutQuotes).substr(0, 5), "<p id");
    EXPECT_EQ(selected(Kind::kCharacterNotAllowed), "\x01");
    EXPECT_EQ(FindKind(r, Kind::kEndTagWithoutStart)->line, 0);
    for (const XhtmlProblem& p : r.problems) EXPECT_FALSE(p.message.empty());
}

TEST(XhtmlCheckTest, BytesThatAreNoCharacterAreReportedWhereTheyStand) {
    using namespace std::string_literals;
    const std::string text = "<p>a\x81 b\xFD\x00</p>\n<p>\x81"s;
    XhtmlCheckResult r = CheckXhtml(text);
    std::vector<std::size_t> bad;
    for (const XhtmlProblem& p : r.problems)
        if (p.kind == Kind::kInvalidCp932 || p.kind == Kind::kCharacterNotAllowed)
            bad.push_back(p.offset);
    EXPECT_EQ(bad, (std::vector<std::size_t>{4, 7, 8, 17})) << Kinds(r);
    EXPECT_EQ(FindKind(r, Kind::kInvalidCp932)->line, 0);
}

TEST(XhtmlCheckTest, EntityBombStopsWithAnError) {
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i) {
        text += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) text += "&lol" + (i > 1 ? std::to_string(i - 1) : "") + ";";
        text += "\">\n";
    }
    text += "]>\n<lolz>&lol9;</lolz>\n";
    XhtmlCheckResult r = CheckXhtml(text);
    EXPECT_TRUE(FindKind(r, Kind::kEntityExpansion)) << Kinds(r);
}

// Local files named by external entities are never read: an entity set that would
// declare &leaked; leaves it undeclared, and the file's bad markup raises nothing.
TEST(XhtmlCheckTest, ExternalEntitiesAreNotRead) {
    char folder[] = "/tmp/xhtml-check-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    const std::string ents = std::string(folder) + "/leak.ent",
                      junk = std::string(folder) + "/junk.xml";
    std::ofstream(ents) << "<!ENTITY leaked \"x\">";
    std::ofstream(junk) << "<unclosed";
    const std::string subset = "[\n<!ENTITY % set SYSTEM \"file://" + ents + "\"> %set;\n" +
                               "<!ENTITY junk SYSTEM \"file://" + junk + "\">\n" +
                               "<!ENTITY passwd SYSTEM \"file:///etc/passwd\">\n]";
    const std::string body = "<p>&leaked; &junk; &passwd;</p>";
    for (const std::string& text :
         {"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
          "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\" " +
              subset +
              ">\n<html "
              "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head><body>" +
              body + "</body></html>",
          "<!DOCTYPE html " + subset + ">\n<html><body>" + body + "</body></html>"}) {
        XhtmlCheckResult r = CheckXhtml(text);
        const XhtmlProblem* undefined = FindKind(r, Kind::kUndefinedEntity);
        ASSERT_TRUE(undefined) << Kinds(r);
        EXPECT_EQ(Selected(text, *undefined), "&leaked;");
        for (const XhtmlProblem& p : r.problems) {
            EXPECT_NE(p.kind, Kind::kElementNotClosed) << Kinds(r);
            EXPECT_EQ(p.message.find("root:"), std::string::npos);
        }
    }
    std::remove(ents.c_str());
    std::remove(junk.c_str());
    rmdir(folder);
}

TEST(XhtmlCheckTest, UnknownDtdGetsANoteAndWellFormednessOnly) {
    const std::string text =
        "<!DOCTYPE html PUBLIC \"-//Example//DTD Nothing 1.0//EN\" \"http://example.com/no.dtd\">\n"
        "<html><body><p>a<p>b</p></p><em></b></body></html>";
    XhtmlCheckResult r = CheckXhtml(text);
    EXPECT_EQ(r.validatedWith, XhtmlDtd::kNone);
    ASSERT_FALSE(r.problems.empty());
    EXPECT_EQ(r.problems[0].kind, Kind::kDtdNotValidated);
    EXPECT_NE(r.problems[0].message.find("-//Example//DTD Nothing 1.0//EN"), std::string::npos);
    EXPECT_TRUE(FindKind(r, Kind::kEndTagWithoutStart)) << Kinds(r);
    EXPECT_FALSE(FindKind(r, Kind::kElementNotAllowed));
}

TEST(XhtmlCheckTest, CancelledCheckStopsWithNothing) {
    std::atomic<bool> cancel{true};
    // Small enough that only the parser's own callbacks see the flag.
    std::string small;
    for (int i = 0; i < 2000; ++i) small += "<p>a &bad;</p>\n";
    XhtmlCheckResult r = CheckXhtml(small, {}, &cancel);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(r.problems.empty());
    std::string large = small;
    while (large.size() < (3u << 20)) large += small;
    EXPECT_TRUE(CheckXhtml(large, {}, &cancel).cancelled);
    cancel = false;
    EXPECT_FALSE(CheckXhtml(small, {}, &cancel).cancelled);
}

TEST(XhtmlCheckTest, ManyFaultsAndDeepNestingEndCleanly) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "<p>a & b</p>\n";
    XhtmlCheckOptions options;
    options.maxProblems = 50;
    XhtmlCheckResult r = CheckXhtml(text, options);
    ASSERT_EQ(r.problems.size(), 51u);
    EXPECT_EQ(r.problems.back().kind, Kind::kTooManyProblems);
    EXPECT_EQ(r.problems[49].line, 49);

    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<div>";
    r = CheckXhtml(deep);
    EXPECT_FALSE(r.problems.empty());
}

}  // namespace
}  // namespace zentabo
