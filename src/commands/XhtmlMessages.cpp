#include "commands/XhtmlMessages.h"

#include <libxml/xmlerror.h>

#include <cstdio>

namespace zentabo {
namespace {

std::string Str(const char* s) {
    return s ? std::string(s) : std::string();
}

bool StartsWith(const char* message, std::string_view head) {
    return message && std::string_view(message).substr(0, head.size()) == head;
}

// libxml2's own text, kept after a Japanese prefix where there is no translation.
std::string Untranslated(const xmlError& e) {
    std::string m = Str(e.message);
    while (!m.empty() && (m.back() == '\n' || m.back() == ' ')) m.pop_back();
    return "XML の問題: " + m;
}

std::string ContentModelMessage(const xmlError& e) {
    // Streaming validation names the child and the parent it may not stand in; the
    // check at an end tag names the element whose content is wrong.
    if (StartsWith(e.message, "Element") &&
        std::string_view(e.message).find("list of possible") != std::string_view::npos)
        return "要素 <" + Str(e.str1) + "> は <" + Str(e.str2) + "> の中には置けません。";
    if (StartsWith(e.message, "No declaration for element"))
        return "要素 <" + Str(e.str1) + "> は DTD にありません。";
    if (StartsWith(e.message, "Element") && e.str2)
        return "要素 <" + Str(e.str1) +
               "> の内容が DTD に合いません (許される内容: " + Str(e.str2) + ")。";
    return "要素をここに置くことはできません: " + Untranslated(e);
}

}  // namespace

XhtmlProblemKind KindOfXmlError(const xmlError& e) {
    switch (e.code) {
        case XML_ERR_TAG_NOT_FINISHED:
            return XhtmlProblemKind::kElementNotClosed;
        case XML_ERR_TAG_NAME_MISMATCH:
            return XhtmlProblemKind::kEndTagMismatch;
        case XML_ERR_UNDECLARED_ENTITY:
        case XML_WAR_UNDECLARED_ENTITY:
            return XhtmlProblemKind::kUndefinedEntity;
        case XML_ERR_NAME_REQUIRED:
            return StartsWith(e.message, "xmlParseEntityRef") ? XhtmlProblemKind::kBareAmpersand
                                                              : XhtmlProblemKind::kOther;
        case XML_ERR_ENTITYREF_SEMICOL_MISSING:
            return XhtmlProblemKind::kBareAmpersand;
        case XML_ERR_ATTRIBUTE_NOT_STARTED:
            return XhtmlProblemKind::kAttributeWithoutQuotes;
        case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
            return XhtmlProblemKind::kAttributeWithoutValue;
        case XML_ERR_ATTRIBUTE_REDEFINED:
            return XhtmlProblemKind::kDuplicateAttribute;
        case XML_ERR_INVALID_CHAR:
        case XML_ERR_INVALID_CHARREF:
            return XhtmlProblemKind::kCharacterNotAllowed;
        case XML_DTD_CONTENT_MODEL:
        case XML_DTD_INVALID_CHILD:
        case XML_DTD_UNKNOWN_ELEM:
        case XML_DTD_NOT_PCDATA:
        case XML_DTD_CONTENT_ERROR:
            return XhtmlProblemKind::kElementNotAllowed;
        case XML_DTD_MISSING_ATTRIBUTE:
            return XhtmlProblemKind::kRequiredAttributeMissing;
        case XML_ERR_ENTITY_LOOP:
            return XhtmlProblemKind::kEntityExpansion;
        default:
            return XhtmlProblemKind::kOther;
    }
}

std::string MessageForXmlError(const xmlError& e, XhtmlProblemKind kind) {
    switch (kind) {
        case XhtmlProblemKind::kElementNotClosed:
            return ElementNotClosedMessage(Str(e.str1));
        case XhtmlProblemKind::kEndTagMismatch:
            return "終了タグ </" + Str(e.str2) + "> の前で要素 <" + Str(e.str1) +
                   "> が閉じられていません。";
        case XhtmlProblemKind::kEndTagWithoutStart:
            return EndTagWithoutStartMessage(Str(e.str2));
        case XhtmlProblemKind::kUndefinedEntity:
            return "実体参照 &" + Str(e.str1) + "; は定義されていません。";
        case XhtmlProblemKind::kBareAmpersand:
            return "& がそのまま書かれています。文字の & は &amp; と書きます。";
        case XhtmlProblemKind::kAttributeWithoutQuotes:
            return "属性の値が引用符 (\" または ') で囲まれていません。";
        case XhtmlProblemKind::kAttributeWithoutValue:
            return "属性 " + Str(e.str1) + " に値がありません (" + Str(e.str1) + "=\"" +
                   Str(e.str1) + "\" のように書きます)。";
        case XhtmlProblemKind::kDuplicateAttribute:
            return "属性 " + Str(e.str1) + " が一つのタグに二度書かれています。";
        case XhtmlProblemKind::kCharacterNotAllowed:
            return "XML で使えない文字があります: " + Untranslated(e);
        case XhtmlProblemKind::kElementNotAllowed:
            return ContentModelMessage(e);
        case XhtmlProblemKind::kRequiredAttributeMissing:
            return "要素 <" + Str(e.str1) + "> に必須の属性 " + Str(e.str2) + " がありません。";
        case XhtmlProblemKind::kEntityExpansion:
            return "実体の参照がループしているか、展開が大きすぎます。検査をやめました。";
        default:
            break;
    }
    switch (e.code) {
        case XML_ERR_DOCUMENT_END:
            return "ルート要素の後に余分な内容があります。";
        case XML_ERR_DOCUMENT_EMPTY:
            return "文書が空です。";
        case XML_ERR_LT_IN_ATTRIBUTE:
            return "属性の値に < がそのまま書かれています。&lt; と書きます。";
        case XML_ERR_GT_REQUIRED:
            return "開始タグ <" + Str(e.str1) + "> が > で終わっていません。";
        case XML_DTD_UNKNOWN_ATTRIBUTE:
            return "属性 " + Str(e.str1) + " は要素 <" + Str(e.str2) + "> には使えません。";
        case XML_DTD_UNKNOWN_ID:
            return "属性 " + Str(e.str1) + " の指す id「" + Str(e.str2) + "」はありません。";
        case XML_DTD_ID_REDEFINED:
            return "id " + Str(e.str1) + " が二度使われています。";
        default:
            break;
    }
    if (StartsWith(e.message, "Excessive depth")) return "要素の入れ子が深すぎます。";
    if (StartsWith(e.message, "attributes construct error"))
        return "属性の書き方が正しくありません。";
    return Untranslated(e);
}

std::string InvalidCp932Message(unsigned char firstByte) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X", firstByte);
    return std::string("コードページ 932 の文字ではないバイトがあります (0x") + hex + ")。";
}

std::string NulCharacterMessage() {
    return "XML で使えない文字 (NUL, 0x00) があります。";
}

std::string ExternalEntityMessage(std::string_view url) {
    return "外部の実体「" + std::string(url) + "」は読み込みません。";
}

std::string DtdNotInstalledMessage(std::string_view publicId) {
    return "DTD「" + std::string(publicId) +
           "」がインストールされていないため、整形式かどうかだけを検査しました。";
}

std::string DtdNotKnownMessage(std::string_view id) {
    return "DOCTYPE の DTD「" + std::string(id) +
           "」では検証できないため、整形式かどうかだけを検査しました。";
}

std::string ElementNotClosedMessage(std::string_view name) {
    return "要素 <" + std::string(name) + "> が閉じられていません。";
}

std::string EndTagWithoutStartMessage(std::string_view name) {
    return "終了タグ </" + std::string(name) + "> に対応する開始タグがありません。";
}

std::string TooManyProblemsMessage() {
    return "問題が多すぎるため、ここで検査をやめました。";
}

}  // namespace zentabo
