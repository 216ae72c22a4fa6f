#pragma once
// Every web and e-mail address the program opens, in one place. They are
// placeholders under example.com until the program has pages of its own.
namespace discovel::web {

inline constexpr char kHomePage[] = "https://discovel.example.com/";
inline constexpr char kHelpPage[] = "https://discovel.example.com/help/";
inline constexpr char kFaqPage[] = "https://discovel.example.com/faq/";
inline constexpr char kNewsletterPage[] = "https://discovel.example.com/newsletter/";
inline constexpr char kProductsPage[] = "https://discovel.example.com/products/";
inline constexpr char kAffiliatePage[] = "https://discovel.example.com/affiliates/";
// The maker's own site, on the About box's line of rights.
inline constexpr char kMakerSite[] = "https://discovel.example.com/";
inline constexpr char kSupportMail[] = "support@discovel.example.com";

// The line of rights: "Copyright (C) " first year "-" this year, then the owner.
inline constexpr int kFirstCopyrightYear = 2005;
inline constexpr char kCopyrightOwner[] = "Discovel developers";

}  // namespace discovel::web
