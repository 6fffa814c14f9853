// Export marker for the library's public interface.
//
// The library is built with hidden visibility: only what carries JX_API is
// visible to a host. On Windows that is dllexport while the DLL itself is
// built and dllimport for its clients; elsewhere it is default visibility.
#pragma once

#if defined(_WIN32)
#if defined(JX6UT_BUILDING)
#define JX_API __declspec(dllexport)
#elif defined(JX6UT_STATIC)
#define JX_API
#else
#define JX_API __declspec(dllimport)
#endif
#else
#define JX_API __attribute__((visibility("default")))
#endif
