#include "commands/XhtmlCheck.h"

#include <libxml/HTMLparser.h>
#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "commands/XhtmlCatalog.h"
#include "commands/XhtmlDoctype.h"
#include "commands/XhtmlMessages.h"
#include "commands/XhtmlSource.h"
#include "commands/XhtmlTagScan.h"

namespace zentabo {
namespace {

// Far enough back to find the '<' of any real tag around a fault, short enough that
// a page of junk stays linear.
constexpr std::size_t kTagLookBack = 1u << 16;
constexpr std::size_t kEntityLookBack = 64;
// Finding a child the DTD refuses reads the page from its start; the first few are
// found, the rest select their parent's end tag, so many of them stay fast.
constexpr int kChildSearches = 16;
// libxml2 takes int sizes; far beyond any page a person writes by hand.
constexpr std::size_t kLargestPage = std::size_t{1} << 30;

// A problem as libxml2 raised it, before it is placed in the editor's terms.
struct RawProblem {
    XhtmlProblemKind kind;
    std::size_t offset;  // code page 932 offset where the parser stood
    std::string message;
    // A child the DTD does not allow, found when its parent ends: their names.
    std::string child = {}, parent = {};
    bool atTag = false;                     // the offset is that of a tag to select
    std::optional<XhtmlTagRange> tag = {};  // the tag to select, where already known
};

class CheckRun;
thread_local CheckRun* tRun = nullptr;

// Hands the converted text to libxml2 piece by piece: it then keeps only a window of
// it instead of a copy of the whole page, which halves the check's memory traffic.
struct MemoryReader {
    std::string_view text;
    std::size_t at;

    static int Read(void* self, char* buffer, int length) {
        auto* r = static_cast<MemoryReader*>(self);
        const std::size_t n = std::min(static_cast<std::size_t>(length), r->text.size() - r->at);
        std::memcpy(buffer, r->text.data() + r->at, n);
        r->at += n;
        return static_cast<int>(n);
    }
    static int Close(void*) { return 0; }
};

class CheckRun : public XhtmlRefusedLoadListener {
public:
    CheckRun(std::string_view text, const XhtmlCheckOptions& options,
             const std::atomic<bool>* cancel)
        : text_(text), options_(options), cancel_(cancel) {}

    XhtmlCheckResult Run();

    // Called from libxml2 on this thread.
    void OnError(const xmlError& e);
    void PollCancel();
    void OnEndElement();
    // Remembers where an element's start tag ended, for the checks made later.
    void MarkNode(xmlNodePtr node) {
        if (node) node->_private = reinterpret_cast<void*>(CurrentUtf8Offset() + 1);
    }
    void RefusedLoad(const char* url) override {
        Add({XhtmlProblemKind::kExternalEntity, CurrentOffset(), ExternalEntityMessage(url)});
    }

private:
    XhtmlDtd ChooseDtd(const XhtmlPageShape& shape);
    bool Parse(XhtmlDtd dtd);
    std::size_t CurrentUtf8Offset() const;
    std::size_t CurrentOffset() const { return source_.ToCp932(CurrentUtf8Offset()); }
    std::optional<std::size_t> OffsetOfNode(const xmlError& e) const;
    bool EndTagNameOpen(const char* name) const;
    void Add(RawProblem p);
    void AddBadBytes();
    void AddUnclosedAtEnd();
    XhtmlProblem Place(const RawProblem& raw, const XhtmlLineIndex& lines,
                       int& childSearches) const;
    void PlaceByKind(const RawProblem& raw, XhtmlProblem& p, int& childSearches) const;
    std::optional<XhtmlTagRange> ChildOfEndedParent(
        const RawProblem& raw, const std::optional<XhtmlTagRange>& parentEnd) const;

    std::string_view text_;
    const XhtmlCheckOptions& options_;
    const std::atomic<bool>* cancel_;
    XhtmlCheckResult result_;
    XhtmlSource source_;
    XhtmlShell shell_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    std::vector<RawProblem> raw_;
    std::optional<RawProblem> unclosedAtEnd_;  // the parser's first word on it
    // The shell's end tags met open elements, or libxml2's recovery from a mismatched
    // end tag may have closed elements the page never closes: the page is read for them.
    bool openAtEnd_ = false;
    std::size_t mismatchAt_ = SIZE_MAX;  // where the last end tag mismatched
    bool full_ = false;
};

void StartElementHook(void* ctx, const xmlChar* localname, const xmlChar* prefix,
                      const xmlChar* uri, int nbNamespaces, const xmlChar** namespaces,
                      int nbAttributes, int nbDefaulted, const xmlChar** attributes) {
    if (tRun) tRun->PollCancel();
    xmlSAX2StartElementNs(ctx, localname, prefix, uri, nbNamespaces, namespaces, nbAttributes,
                          nbDefaulted, attributes);
    if (tRun) tRun->MarkNode(static_cast<xmlParserCtxtPtr>(ctx)->node);
}

void EndElementHook(void* ctx, const xmlChar* localname, const xmlChar* prefix,
                    const xmlChar* uri) {
    if (tRun) tRun->OnEndElement();
    xmlSAX2EndElementNs(ctx, localname, prefix, uri);
}

// Errors the shell's end tags raise when the page left elements open, or closed
// the shell's own elements early.
bool IsShellTagError(const xmlError& e) {
    return e.code == XML_ERR_TAG_NAME_MISMATCH || e.code == XML_ERR_TAG_NOT_FINISHED ||
           e.code == XML_ERR_DOCUMENT_END;
}

void CharactersHook(void* ctx, const xmlChar* ch, int len) {
    if (tRun) tRun->PollCancel();
    xmlSAX2Characters(ctx, ch, len);
}

// The XHTML entities for pages that bring no DTD: looked up in the HTML table (the
// same set) and declared in the page's own tree the first time they are used.
xmlEntityPtr GetEntityHook(void* ctx, const xmlChar* name) {
    xmlEntityPtr ent = xmlSAX2GetEntity(ctx, name);
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    if (ent || ctxt->inSubset != 0 || !ctxt->myDoc) return ent;
    const htmlEntityDesc* desc = htmlEntityLookup(name);
    if (!desc) return nullptr;
    if (!ctxt->myDoc->intSubset) xmlCreateIntSubset(ctxt->myDoc, BAD_CAST "html", nullptr, nullptr);
    char content[16];
    std::snprintf(content, sizeof content, "&#%u;", desc->value);
    return xmlAddDocEntity(ctxt->myDoc, name, XML_INTERNAL_GENERAL_ENTITY, nullptr, nullptr,
                           BAD_CAST content);
}

void ErrorHook(void*, xmlErrorPtr e) {
    if (tRun && e) tRun->OnError(*e);
}

void CheckRun::PollCancel() {
    if (cancel_ && cancel_->load(std::memory_order_relaxed) && !result_.cancelled) {
        result_.cancelled = true;
        xmlStopParser(ctxt_);
    }
}

std::size_t CheckRun::CurrentUtf8Offset() const {
    if (!ctxt_ || ctxt_->inputNr <= 0) return source_.utf8().size();
    // The page's own input is the first; DTDs and entities stack above it.
    const xmlParserInputPtr in = ctxt_->inputTab[0];
    if (!in || !in->cur || !in->base) return source_.utf8().size();
    return static_cast<std::size_t>(in->consumed) + static_cast<std::size_t>(in->cur - in->base);
}

// Checks made after an element was read (its content, references to unknown ids)
// name the element; its start tag was marked when it was read.
std::optional<std::size_t> CheckRun::OffsetOfNode(const xmlError& e) const {
    const auto* node = static_cast<const xmlNode*>(e.node);
    if (!node || node->type != XML_ELEMENT_NODE || !node->_private) return std::nullopt;
    return source_.ToCp932(reinterpret_cast<std::uintptr_t>(node->_private) - 1);
}

bool CheckRun::EndTagNameOpen(const char* name) const {
    if (!name || !ctxt_) return false;
    const int lowest = result_.fragment ? shell_.depth : 0;
    for (int i = ctxt_->nameNr - 1; i >= lowest; --i)
        if (ctxt_->nameTab[i] &&
            std::strcmp(reinterpret_cast<const char*>(ctxt_->nameTab[i]), name) == 0)
            return true;
    return false;
}

void CheckRun::OnError(const xmlError& e) {
    if (full_ || result_.cancelled) return;
    if (e.domain == XML_FROM_IO && e.code == XML_IO_LOAD_ERROR) return;  // said by RefusedLoad
    XhtmlProblemKind kind = KindOfXmlError(e);
    if (kind == XhtmlProblemKind::kEndTagMismatch && !EndTagNameOpen(e.str2))
        kind = XhtmlProblemKind::kEndTagWithoutStart;
    const std::size_t u = CurrentUtf8Offset();
    if (e.code == XML_ERR_TAG_NAME_MISMATCH) {
        mismatchAt_ = u;
        if (result_.fragment) openAtEnd_ = true;
    }
    // After a mismatched end tag the parser stands past its '>': one that ends with
    // the page is still the page's. Other errors there stand before the shell.
    const bool pastPage = (u > source_.bodyEnd() ||
                           (u == source_.bodyEnd() && e.code != XML_ERR_TAG_NAME_MISMATCH)) &&
                          e.domain != XML_FROM_VALID;
    RawProblem p{kind, source_.ToCp932(u), MessageForXmlError(e, kind)};
    if (e.code == XML_DTD_INVALID_CHILD && e.str1 && e.str2) {
        p.child = e.str1;
        p.parent = e.str2;
    }
    if (e.domain == XML_FROM_VALID && u >= source_.utf8().size()) {
        std::optional<std::size_t> at = OffsetOfNode(e);
        if (at) {
            p.offset = *at;
            p.atTag = true;
        }
    }
    // The shell's own end tags meeting elements still open are never the user's
    // text: those elements get their rows, below, at their start tags.
    if (pastPage && result_.fragment && IsShellTagError(e)) {
        openAtEnd_ = true;
        return;
    }
    // What else the parser finds after the page's last byte (a comment or attribute
    // the page left open, or the end of the input) is said once, below, unless the
    // elements left open explain it.
    if (pastPage || kind == XhtmlProblemKind::kElementNotClosed) {
        if (!unclosedAtEnd_) unclosedAtEnd_ = p;
        return;
    }
    Add(std::move(p));
}

// libxml2 closes a shell element at the page's own end tag of its name without a
// word (a fragment's stray </body>), and then blames the shell's end tag for it.
void CheckRun::OnEndElement() {
    if (!ctxt_ || ctxt_->nameNr > shell_.depth || !ctxt_->name) return;
    const std::size_t u = CurrentUtf8Offset();
    // After a mismatch libxml2 closes the innermost element, which the error named.
    if (u <= source_.bodyStart() || u > source_.bodyEnd() || u == mismatchAt_) return;
    Add({XhtmlProblemKind::kEndTagWithoutStart, source_.ToCp932(u),
         EndTagWithoutStartMessage(reinterpret_cast<const char*>(ctxt_->name))});
}

void CheckRun::Add(RawProblem p) {
    if (full_) return;
    // libxml2 repeats some errors once per level of entity nesting.
    if (!raw_.empty() && raw_.back().kind == p.kind && raw_.back().offset == p.offset &&
        raw_.back().message == p.message)
        return;
    if (raw_.size() >= options_.maxProblems) {
        full_ = true;
        raw_.push_back({XhtmlProblemKind::kTooManyProblems, p.offset, TooManyProblemsMessage()});
        if (ctxt_) xmlStopParser(ctxt_);
        return;
    }
    raw_.push_back(std::move(p));
}

void CheckRun::AddBadBytes() {
    for (std::size_t at : source_.badBytes()) {
        const auto b = static_cast<unsigned char>(text_[at]);
        Add({b == 0 ? XhtmlProblemKind::kCharacterNotAllowed : XhtmlProblemKind::kInvalidCp932, at,
             b == 0 ? NulCharacterMessage() : InvalidCp932Message(b)});
    }
}

void CheckRun::AddUnclosedAtEnd() {
    if ((!unclosedAtEnd_ && !openAtEnd_) || full_) return;
    std::vector<XhtmlOpenTag> open = FindOpenElements(text_, text_.size());
    if (open.empty()) {
        if (unclosedAtEnd_) Add(*unclosedAtEnd_);
        return;
    }
    for (const XhtmlOpenTag& tag : open) {
        RawProblem p{XhtmlProblemKind::kElementNotClosed, tag.start,
                     ElementNotClosedMessage(tag.name)};
        p.tag = XhtmlTagRange{tag.start, tag.end};
        Add(std::move(p));
    }
}

XhtmlDtd CheckRun::ChooseDtd(const XhtmlPageShape& shape) {
    XhtmlDtd dtd = shape.document ? shape.dtd : options_.fragmentDtd;
    const std::size_t at = shape.document ? shape.doctypeStart : 0;
    if (dtd != XhtmlDtd::kNone && !XhtmlDtdInstalled(dtd)) {
        Add({XhtmlProblemKind::kDtdNotValidated, at,
             DtdNotInstalledMessage(XhtmlDtdPublicId(dtd))});
        return XhtmlDtd::kNone;
    }
    if (shape.document && dtd == XhtmlDtd::kNone &&
        (!shape.publicId.empty() || !shape.systemId.empty())) {
        Add({XhtmlProblemKind::kDtdNotValidated, at,
             DtdNotKnownMessage(shape.publicId.empty() ? shape.systemId : shape.publicId)});
    }
    return dtd;
}

bool CheckRun::Parse(XhtmlDtd dtd) {
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> ctxt(xmlNewParserCtxt(),
                                                                    xmlFreeParserCtxt);
    if (!ctxt) return false;
    ctxt_ = ctxt.get();
    ctxt_->sax->startElementNs = StartElementHook;
    if (result_.fragment) ctxt_->sax->endElementNs = EndElementHook;
    ctxt_->sax->characters = CharactersHook;
    ctxt_->sax->getEntity = GetEntityHook;
    ctxt_->sax->serror = ErrorHook;
    ctxt_->sax->error = nullptr;
    ctxt_->sax->warning = nullptr;
    // Entities are never substituted (XML_PARSE_NOENT stays off) and libxml2's
    // expansion limits stay on (no XML_PARSE_HUGE); the encoding declaration is
    // ignored because the text arrives as UTF-8.
    int options = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_IGNORE_ENC;
    if (dtd != XhtmlDtd::kNone) options |= XML_PARSE_DTDLOAD | XML_PARSE_DTDVALID;
    const std::string& utf8 = source_.utf8();
    // Checks at the document's end (references to unknown ids) report through the
    // thread's handler rather than the context's, and would go to stderr.
    const xmlStructuredErrorFunc previous = xmlStructuredError;
    void* previousContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(nullptr, ErrorHook);
    MemoryReader reader{utf8, 0};
    xmlDocPtr doc = xmlCtxtReadIO(ctxt_, MemoryReader::Read, MemoryReader::Close, &reader, nullptr,
                                  nullptr, options);
    xmlSetStructuredErrorFunc(previousContext, previous);
    if (doc) xmlFreeDoc(doc);
    ctxt_ = nullptr;
    return true;
}

// The tag the parser stood in at `offset`, or the one it had just read.
std::optional<XhtmlTagRange> TagAround(std::string_view text, std::size_t offset) {
    const std::size_t from = offset > kTagLookBack ? offset - kTagLookBack : 0;
    std::size_t lt = text.substr(0, offset).rfind('<');
    if (lt != std::string_view::npos && lt >= from) {
        std::optional<XhtmlMarkup> m = ReadMarkupAt(text, lt, text.size());
        std::size_t end = (m && m->end != std::string_view::npos) ? m->end : offset;
        if (end >= offset) return XhtmlTagRange{lt, std::max(end, lt + 1)};
    }
    if (offset < text.size() && text[offset] == '<') {
        std::optional<XhtmlMarkup> m = ReadMarkupAt(text, offset, text.size());
        if (m && m->end != std::string_view::npos) return XhtmlTagRange{offset, m->end};
    }
    return std::nullopt;
}

// The first child named `child` directly inside [from, to).
std::optional<XhtmlTagRange> FirstChildNamed(std::string_view text, std::size_t from,
                                             std::size_t to, std::string_view child) {
    std::optional<XhtmlTagRange> found;
    int depth = 0;
    ForEachMarkup(text, from, to, [&](const XhtmlMarkup& m) {
        const bool start = m.kind == XhtmlMarkupKind::kStartTag;
        if (depth == 0 && (start || m.kind == XhtmlMarkupKind::kEmptyTag) && m.name == child) {
            found = XhtmlTagRange{m.start, m.end};
            return false;
        }
        if (start) ++depth;
        if (m.kind == XhtmlMarkupKind::kEndTag && depth > 0) --depth;
        return true;
    });
    return found;
}

// A child the DTD does not allow is reported when its parent ends, at the parent's
// end tag (or, for the body a fragment stands in, at the page's end).
std::optional<XhtmlTagRange> CheckRun::ChildOfEndedParent(
    const RawProblem& raw, const std::optional<XhtmlTagRange>& parentEnd) const {
    if (result_.fragment && raw.offset >= text_.size() && raw.parent == "body")
        return FirstChildNamed(text_, 0, text_.size(), raw.child);
    if (!parentEnd) return std::nullopt;
    std::optional<XhtmlTagRange> parentStart = FindPartnerTag(text_, parentEnd->start);
    if (!parentStart) return std::nullopt;
    return FirstChildNamed(text_, parentStart->end, parentEnd->start, raw.child);
}

XhtmlProblem CheckRun::Place(const RawProblem& raw, const XhtmlLineIndex& lines,
                             int& childSearches) const {
    XhtmlProblem p;
    p.kind = raw.kind;
    p.message = raw.message;
    p.offset = p.selStart = p.selEnd = std::min(raw.offset, text_.size());
    if (raw.tag) {
        // Looking around the offset would find the tag before it, when they touch.
        p.offset = p.selStart = raw.tag->start;
        p.selEnd = raw.tag->end;
    } else {
        PlaceByKind(raw, p, childSearches);
    }
    p.line = lines.LineOf(p.offset);
    p.column = static_cast<int>(p.offset - lines.LineStart(p.line));
    return p;
}

void CheckRun::PlaceByKind(const RawProblem& raw, XhtmlProblem& p, int& childSearches) const {
    switch (raw.kind) {
        case XhtmlProblemKind::kElementNotClosed:
        case XhtmlProblemKind::kEndTagMismatch:
        case XhtmlProblemKind::kEndTagWithoutStart:
        case XhtmlProblemKind::kAttributeWithoutQuotes:
        case XhtmlProblemKind::kAttributeWithoutValue:
        case XhtmlProblemKind::kDuplicateAttribute:
        case XhtmlProblemKind::kElementNotAllowed:
        case XhtmlProblemKind::kRequiredAttributeMissing: {
            std::optional<XhtmlTagRange> tag = TagAround(text_, p.offset);
            if (!raw.child.empty() && childSearches-- > 0) {
                std::optional<XhtmlTagRange> child = ChildOfEndedParent(raw, tag);
                if (child) tag = child;
            }
            if (tag) {
                p.offset = p.selStart = tag->start;
                p.selEnd = tag->end;
            }
            break;
        }
        case XhtmlProblemKind::kUndefinedEntity:
        case XhtmlProblemKind::kBareAmpersand: {
            const std::size_t from = p.offset > kEntityLookBack ? p.offset - kEntityLookBack : 0;
            std::size_t amp = text_.substr(0, p.offset).rfind('&');
            if (amp == std::string_view::npos || amp < from) break;
            p.offset = p.selStart = amp;
            p.selEnd = std::max(p.selEnd, amp + 1);
            break;
        }
        case XhtmlProblemKind::kInvalidCp932:
        case XhtmlProblemKind::kCharacterNotAllowed:
            if (p.offset < text_.size()) p.selEnd = p.offset + Cp932CharLength(text_, p.offset);
            break;
        default:
            if (raw.atTag) {
                std::optional<XhtmlTagRange> tag = TagAround(text_, p.offset);
                if (tag) {
                    p.offset = p.selStart = tag->start;
                    p.selEnd = tag->end;
                }
            }
            break;
    }
}

XhtmlCheckResult CheckRun::Run() {
    PrepareXhtmlParser();
    if (text_.size() > kLargestPage) {
        result_.problems.push_back(
            {XhtmlProblemKind::kOther, 0, 0, 0, 0, 0, "ページが大きすぎるため検査できません。"});
        return result_;
    }
    const XhtmlPageShape shape = ClassifyXhtmlPage(text_);
    result_.fragment = !shape.document;
    const XhtmlDtd dtd = ChooseDtd(shape);
    if (result_.fragment) shell_ = FragmentShell(dtd);
    if (!source_.Convert(text_, shell_.prefix, shell_.suffix, cancel_)) result_.cancelled = true;
    if (!result_.cancelled) {
        AddBadBytes();
        tRun = this;
        ScopedRefusedLoadListener listen(this);
        Parse(dtd);
        tRun = nullptr;
        AddUnclosedAtEnd();
    }
    if (result_.cancelled) {
        result_.problems.clear();
        return result_;
    }
    result_.validatedWith = dtd;
    XhtmlLineIndex lines(text_);
    int childSearches = kChildSearches;
    for (const RawProblem& raw : raw_) result_.problems.push_back(Place(raw, lines, childSearches));
    std::stable_sort(result_.problems.begin(), result_.problems.end(),
                     [](const XhtmlProblem& a, const XhtmlProblem& b) {
                         if (a.kind == XhtmlProblemKind::kTooManyProblems) return false;
                         if (b.kind == XhtmlProblemKind::kTooManyProblems) return true;
                         return a.offset < b.offset;
                     });
    return result_;
}

}  // namespace

XhtmlCheckResult CheckXhtml(std::string_view cp932Text, const XhtmlCheckOptions& options,
                            const std::atomic<bool>* cancel) {
    CheckRun run(cp932Text, options, cancel);
    return run.Run();
}

}  // namespace zentabo
