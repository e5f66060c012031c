// The page indicator of the skinned window ("Page 1 of 2"). Its format comes
// from the language module, so it is never handed to printf: only "%d"
// (filled in order with the page number and the page count) and "%%" are
// replaced; anything else, a third "%d" included, is shown as written.
#pragma once

#include <string>

std::wstring FormatPageIndicator(const std::wstring& format, int page, int pageCount);
