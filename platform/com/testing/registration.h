#pragma once
// A control library registered for a test: loaded as the registration tool loads it and one of its
// registration entry points called, so that CoCreateInstance finds its classes in the registry the
// test has set up ($TORVANA_REGISTRY). The library stays loaded for the rest of the process.
//
//     ASSERT_TRUE(comtest::RegisterLibrary(LZDATEEDIT_LIBRARY));
#include "com/com.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <ios>

namespace comtest {

// Calls DllRegisterServer of the library at path, or DllUnregisterServer when on is false.
inline ::testing::AssertionResult RegisterLibrary(const char *path, bool on = true)
{
    const char *entry = on ? "DllRegisterServer" : "DllUnregisterServer";
    void *library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return ::testing::AssertionFailure() << "the library cannot be loaded: " << dlerror();
    auto call = reinterpret_cast<PFN_DllRegisterServer>(dlsym(library, entry));
    if (!call)
        return ::testing::AssertionFailure() << path << " has no " << entry;
    const HRESULT hr = call();
    if (hr != S_OK)
        return ::testing::AssertionFailure() << path << ": " << entry << " answered 0x" << std::hex << uint32_t(hr);
    return ::testing::AssertionSuccess();
}

} // namespace comtest
