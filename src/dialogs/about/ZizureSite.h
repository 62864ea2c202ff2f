#pragma once
// The maker's web site and the two pages of it that the About dialog opens.

#include <QString>

namespace vz {

inline QString zizureHomePage() { return QStringLiteral("https://www.zizure.example"); }
inline QString productPage() { return zizureHomePage() + QStringLiteral("/Pages/Veroridovuz.html"); }
inline QString mailingListPage() { return zizureHomePage() + QStringLiteral("/Pages/VazaZez.html"); }

} // namespace vz
