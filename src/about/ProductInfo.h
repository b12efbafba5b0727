#pragma once

#include <QString>

namespace horlan {

// Facts about the product that more than one window shows or uses.

// The maker's web site: the about dialog's link text and the address it opens.
inline constexpr const char* MakerWebAddress = "https://vantorel.example/";

// Where a current server list is published.
inline constexpr const char* ListDownloadAddress = "https://vantorel.example/list.txt";

// The about dialog's author line.
inline constexpr const char* AuthorLine = "Vantorel software";

// The program's version as declared by the build: major.minor.patch.revision.
struct ProductVersion {
    int Major = 0;
    int Minor = 0;
    int Patch = 0;
    int Revision = 0;
};

ProductVersion Version();

} // namespace horlan
