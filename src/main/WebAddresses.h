#pragma once

// The maker's web addresses the program opens in the default browser.
namespace quillet {

struct WebAddresses {
  const char* updatePage;
  const char* homePage;
  const char* onlineHelp;
  const char* italianHelp;     // a PDF document
  const char* portugueseHelp;  // a compiled help document
  const char* translationPage;
};

inline constexpr WebAddresses kWebAddresses{
    "https://www.orvane-software.example/quillet/update.html",
    "https://www.orvane-software.example/quillet/",
    "https://www.orvane-software.example/quillet/help/",
    "https://www.orvane-software.example/quillet/help/quillet-it.pdf",
    "https://www.orvane-software.example/quillet/help/quillet-pt.chm",
    "https://www.orvane-software.example/quillet/translate.html",
};

}  // namespace quillet
