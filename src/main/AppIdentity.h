#pragma once

// Names the program shows to users and to other processes.
namespace quillet {

inline constexpr const char* kProductName = "Orvane Quillet";
inline constexpr const char* kVersion = "3.5";
inline constexpr const char* kMainCaption = "Orvane Quillet 3.5";
// A second instance finds the first by this class name.
inline constexpr const char* kMainWindowClass = "Orvane Quillet Made by Orvane Software";
inline constexpr const char* kMessageBoxTitle = "Orvane Quillet";

}  // namespace quillet
