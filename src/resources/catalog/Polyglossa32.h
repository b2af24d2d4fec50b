#pragma once

#include <cstdint>

// The text-catalog library's two functions, as the console calls them: UTF-16 texts, the Windows standard
// calling convention, plain C names.
#ifdef _WIN32
#define POLYGLOSSA32_CALL __stdcall
#else
#define POLYGLOSSA32_CALL
#endif

#if defined(POLYGLOSSA32_BUILDING) && defined(_WIN32)
#define POLYGLOSSA32_EXPORT __declspec(dllexport)
#elif defined(POLYGLOSSA32_BUILDING)
#define POLYGLOSSA32_EXPORT __attribute__((visibility("default")))
#else
#define POLYGLOSSA32_EXPORT
#endif

extern "C" {

// Chooses the catalog for the current language; cheap when the language has not changed since the last call.
// Returns -1 when a catalog is loaded, 0 otherwise; callers may ignore it.
POLYGLOSSA32_EXPORT std::int32_t POLYGLOSSA32_CALL LoadResources(const char16_t* product);

// Writes the key's NUL-ended text into `buffer` and returns -1; returns 0, writing nothing, when the key is
// unknown or its text and NUL do not fit in `length` characters.
POLYGLOSSA32_EXPORT std::int32_t POLYGLOSSA32_CALL GetString(const char16_t* key, char16_t* buffer,
                                                             std::int32_t length);

using Polyglossa32LoadResources = std::int32_t(POLYGLOSSA32_CALL*)(const char16_t*);
using Polyglossa32GetString = std::int32_t(POLYGLOSSA32_CALL*)(const char16_t*, char16_t*, std::int32_t);
}
