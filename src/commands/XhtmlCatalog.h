#pragma once

// libxml2's one-time set-up for checking: the XML catalog, and an entity loader that
// reads only what the catalog resolves (the XHTML DTDs and their modules) and never
// the network or any other file.

#include "commands/XhtmlCheck.h"

namespace zentabo {

// Safe to call from any thread, any number of times.
void PrepareXhtmlParser();
// Whether the catalog finds the DTD on this machine.
bool XhtmlDtdInstalled(XhtmlDtd dtd);

// Told about each entity the loader refuses on the calling thread while set.
class XhtmlRefusedLoadListener {
public:
    virtual void RefusedLoad(const char* url) = 0;

protected:
    ~XhtmlRefusedLoadListener() = default;
};
class ScopedRefusedLoadListener {
public:
    explicit ScopedRefusedLoadListener(XhtmlRefusedLoadListener* listener);
    ~ScopedRefusedLoadListener();
    ScopedRefusedLoadListener(const ScopedRefusedLoadListener&) = delete;
    ScopedRefusedLoadListener& operator=(const ScopedRefusedLoadListener&) = delete;

private:
    XhtmlRefusedLoadListener* previous_;
};

}  // namespace zentabo
