#pragma once

#include <cstddef>

// The show request that a second start hands the running instance: the text
// "/Show" and its NUL as UTF-16, in a WM_COPYDATA text block.
namespace tarnwick {

// The request's text block: "/Show" and two NULs, 14 bytes.
inline constexpr char16_t ShowRequestText[] = u"/Show\0";
inline constexpr std::size_t ShowRequestBytes = sizeof(ShowRequestText);

// Whether the Size bytes at Data hold exactly "/Show" before their first NUL
// code unit. Reads nothing past Size; a block without a NUL in it, or a null
// Data, is no request. Data need not be aligned.
bool IsShowRequest(const void* Data, std::size_t Size);

}  // namespace tarnwick
