#include "commands/XhtmlCatalog.h"

#include <libxml/catalog.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlmemory.h>

#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "commands/XhtmlDoctype.h"

namespace zentabo {
namespace {

thread_local XhtmlRefusedLoadListener* tListener = nullptr;

// Folders of the XHTML DTDs the catalog resolves; their modules and entity sets
// lie beside them and are the only files the loader opens.
std::vector<std::string>& AllowedFolders() {
    static std::vector<std::string> folders;
    return folders;
}

std::string LocalPath(const std::string& url) {
    if (url.rfind("file://", 0) == 0) return url.substr(7);
    if (url.find("://") != std::string::npos) return {};
    return url;
}

std::string RealPath(const std::string& path) {
    if (path.empty()) return {};
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

std::string Resolve(const char* url, const char* id) {
    xmlChar* r = xmlCatalogResolve(reinterpret_cast<const xmlChar*>(id),
                                   reinterpret_cast<const xmlChar*>(url));
    if (!r && url) r = xmlCatalogResolveURI(reinterpret_cast<const xmlChar*>(url));
    if (!r) return {};
    std::string s(reinterpret_cast<const char*>(r));
    xmlFree(r);
    return s;
}

bool InsideAllowedFolder(const std::string& real) {
    for (const std::string& folder : AllowedFolders())
        if (real.size() > folder.size() && real.compare(0, folder.size(), folder) == 0 &&
            real[folder.size()] == '/')
            return true;
    return false;
}

xmlParserInputPtr CatalogOnlyLoader(const char* url, const char* id, xmlParserCtxtPtr ctxt) {
    // What the catalog resolves is installed on purpose; anything else only where it
    // lies beside the XHTML DTDs (their modules, named relative to the DTD).
    std::string real = RealPath(LocalPath(Resolve(url, id)));
    if (real.empty() && url) {
        real = RealPath(LocalPath(url));
        if (!InsideAllowedFolder(real)) real.clear();
    }
    if (!real.empty()) return xmlNewInputFromFile(ctxt, real.c_str());
    if (tListener) tListener->RefusedLoad(url ? url : (id ? id : ""));
    return nullptr;
}

std::string DtdFile(XhtmlDtd dtd) {
    return RealPath(LocalPath(Resolve(XhtmlDtdSystemId(dtd), XhtmlDtdPublicId(dtd))));
}

void PrepareOnce() {
    xmlInitParser();
    xmlInitializeCatalog();
    for (XhtmlDtd dtd : {XhtmlDtd::kStrict10, XhtmlDtd::kTransitional10, XhtmlDtd::kFrameset10,
                         XhtmlDtd::kXhtml11}) {
        std::string file = DtdFile(dtd);
        if (file.empty()) continue;
        AllowedFolders().push_back(file.substr(0, file.rfind('/')));
    }
    xmlSetExternalEntityLoader(CatalogOnlyLoader);
}

}  // namespace

void PrepareXhtmlParser() {
    static std::once_flag once;
    std::call_once(once, PrepareOnce);
}

bool XhtmlDtdInstalled(XhtmlDtd dtd) {
    PrepareXhtmlParser();
    return dtd != XhtmlDtd::kNone && !DtdFile(dtd).empty();
}

ScopedRefusedLoadListener::ScopedRefusedLoadListener(XhtmlRefusedLoadListener* listener)
    : previous_(tListener) {
    tListener = listener;
}

ScopedRefusedLoadListener::~ScopedRefusedLoadListener() {
    tListener = previous_;
}

}  // namespace zentabo
