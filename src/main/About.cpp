#include "main/About.h"

#include "base/AppIdentity.h"
#include "main/WebAddresses.h"
#include "settings/OptionsSetting.h"
#include "base/TextCompare.h"
#include "settings/Translation.h"

namespace quillet {

TfrmAbout::TfrmAbout(ui::UiHost& host) : TForm(host, "frmAbout") {
  SetCaption(std::string("About ") + kProductName);
  SetDesignClientSize(340, 150);
  SetBorderStyle(ui::FormBorder::Dialog);
  SetPosition(ui::FormPosition::OwnerFormCenter);

  Image1 = Make<ui::TImage>("Image1");
  Image1->SetBounds(16, 16, 32, 32);
  Image1->SetPicture(ui::Picture::AppIcon);
  lProduct = Make<ui::TLabel>("lProduct");
  lProduct->SetFont({.size = 12, .bold = true});
  lProduct->SetBounds(64, 16, 0, 0);
  lProduct->SetCaption(kProductName);
  lVersion = Make<ui::TLabel>("lVersion");
  lVersion->SetBounds(64, 44, 0, 0);
  lVersion->SetCaption(std::string("Version: ") + kVersion + "   Build " + kBuild);
  lMaker = Make<ui::TLabel>("lMaker");
  lMaker->SetBounds(64, 64, 0, 0);
  lMaker->SetCaption(std::string("Copyright (C) 2014 ") + kMakerName);
  lHomePage = Make<ui::TLabel>("lHomePage");
  lHomePage->SetFont({.underline = true, .color = 0xCC6600});
  lHomePage->SetLink(true);
  lHomePage->SetBounds(64, 84, 0, 0);
  lHomePage->SetCaption("www.orvane-software.example");
  lHomePage->OnClick = [this] { lHomePageClick(); };
  bOK = Make<ui::TButton>("bOK");
  bOK->SetBounds(247, 113, 80, 25);
  bOK->SetCaption("&OK");
  bOK->SetDefault(true);
  bOK->SetCancel(true);
  bOK->SetModalResult(ui::ModalResult::Ok);

  OnShow = [this] { FormShow(); };
}

void TfrmAbout::FormShow() {
  TranslateToCurrentLanguage(*this);
}

void TfrmAbout::lHomePageClick() { Host().OpenDocument(kWebAddresses.homePage); }

}  // namespace quillet
