#pragma once

#include <span>

// The built-in safe keys the post-scan filter never offers for repair: the entries of the main
// window's hidden list boxes ListBox1 (always consulted) and ListBox2 (Windows Vista to 8).
namespace quillet {

std::span<const char* const> SafeKeysAlways();
std::span<const char* const> SafeKeysVistaTo8();

}  // namespace quillet
