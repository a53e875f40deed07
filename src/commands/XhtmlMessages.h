#pragma once

// What a libxml2 error means for the user: its kind and a Japanese message.

#include <string>
#include <string_view>

#include "commands/XhtmlCheck.h"

struct _xmlError;

namespace zentabo {

XhtmlProblemKind KindOfXmlError(const _xmlError& error);
// `kind` may differ from KindOfXmlError's answer where the caller knows better (an
// end tag whose element is not open at all).
std::string MessageForXmlError(const _xmlError& error, XhtmlProblemKind kind);

std::string InvalidCp932Message(unsigned char firstByte);
std::string NulCharacterMessage();
std::string ExternalEntityMessage(std::string_view url);
std::string DtdNotInstalledMessage(std::string_view publicId);
std::string DtdNotKnownMessage(std::string_view id);
std::string ElementNotClosedMessage(std::string_view name);
std::string EndTagWithoutStartMessage(std::string_view name);
std::string TooManyProblemsMessage();

}  // namespace zentabo
