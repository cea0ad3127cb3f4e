#pragma once

// Names the program shows to users and to other processes.
namespace quillet {

inline constexpr const char* kProductName = "Orvane Quillet";
inline constexpr const char* kVersion = "3.5";
inline constexpr const char* kBuild = "20140530";
inline constexpr const char* kMakerName = "Orvane Software";
inline constexpr const char* kMainCaption = "Orvane Quillet 3.5";
// A second instance finds the first by this class name.
inline constexpr const char* kMainWindowClass = "Orvane Quillet Made by Orvane Software";
inline constexpr const char* kMessageBoxTitle = "Orvane Quillet";
inline constexpr const char* kTitleHint = "Scan and repair your registry to improve PC performance";

}  // namespace quillet
