#include "settings/ResourceModule.h"

#include "settings/WideText.h"

namespace {
HMODULE g_resourceModule = nullptr; // not owned: the language module holder owns it
}

void SetResourceModule(HMODULE module)
{
    g_resourceModule = module;
}

HMODULE GetResourceModule()
{
    return g_resourceModule ? g_resourceModule : GetModuleHandleW(nullptr);
}

std::wstring LoadResString(UINT id)
{
    // With a zero buffer size LoadStringW hands out a read-only pointer to the
    // resource itself, so strings of any length load whole.
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return std::wstring();
    return std::wstring(text, size_t(length));
}

std::string LoadResStringUtf8(UINT id)
{
    return Utf8FromWide(LoadResString(id));
}
