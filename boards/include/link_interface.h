// The link interface that every board library exports: nine functions under
// plain names, Windows API calling convention, handle 1 as the only link.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define LINK_API __stdcall
#else
#define LINK_API
#endif

namespace link_interface {

constexpr std::int32_t kLinkHandle = 1;
constexpr std::int32_t kBadHandle = -1;
constexpr std::int32_t kBadLength = -2;
constexpr std::int32_t kFailed = -1;

// The entry points as callers bind them with GetProcAddress.
using OpenLinkFn = std::int32_t(LINK_API*)(const char* link_name, std::uint32_t link_timeout);
using CloseLinkFn = std::int32_t(LINK_API*)(std::int32_t handle);
using ReadLinkFn = std::int32_t(LINK_API*)(std::int32_t handle, void* buffer, std::int32_t length);
using WriteLinkFn = std::int32_t(LINK_API*)(std::int32_t handle, const void* buffer, std::int32_t length);
using ResetLinkFn = std::int32_t(LINK_API*)(std::int32_t handle);
using AnalyseLinkFn = std::int32_t(LINK_API*)(std::int32_t handle);
using TestErrorFn = std::int32_t(LINK_API*)(std::int32_t handle);
using TestReadFn = std::int32_t(LINK_API*)(std::int32_t handle);
using TestWriteFn = std::int32_t(LINK_API*)(std::int32_t handle);

}  // namespace link_interface
