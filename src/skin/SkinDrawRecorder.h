// A listener that sees what the skinned window draws, for tests and
// benchmarks: which title, labels, values and activity a paint or a poll put
// on the window. The window calls it only when one is installed.
#pragma once

#include <string>

class ISkinDrawRecorder {
public:
    virtual void OnDrawTitle(int page, const std::wstring& title, const std::wstring& indicator) = 0;
    virtual void OnDrawLabel(int row, const std::wstring& text) = 0;
    virtual void OnDrawValue(int row, const std::string& text) = 0;
    // Every poll reports its bars and light, also when they look as before
    // and so nothing reaches the screen.
    virtual void OnDrawActivity(int upstreamLevel, int downstreamLevel, int lightImage) = 0;

protected:
    ~ISkinDrawRecorder() = default;
};
