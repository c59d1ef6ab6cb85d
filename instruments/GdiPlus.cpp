#include "GdiPlus.h"

#include <objidl.h>  // PROPID, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

namespace {

int startCount = 0;

// Started once; shut down when the program's static objects are destroyed at
// its end.
class GdiPlusSession {
public:
    GdiPlusSession() {
        Gdiplus::GdiplusStartupInput input;
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
        if (started_) ++startCount;
    }
    ~GdiPlusSession() {
        if (started_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiPlusSession(const GdiPlusSession&) = delete;
    GdiPlusSession& operator=(const GdiPlusSession&) = delete;

    bool started() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

}  // namespace

bool GdiPlusReady() {
    static GdiPlusSession session;
    return session.started();
}

int GdiPlusStartCount() { return startCount; }
