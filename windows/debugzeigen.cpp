#include "model/module1.h"
#include "toolkit/numeric.h"
#include "windows/WINdebug.h"

namespace Module1 {

// The lists are a snapshot of the tables: every point and every record from 1 to
// its count, whatever its values, in number order.
void debugzeigen()
{
    using toolkit::Str;

    ::WINdebug()->LBpunkte()->DeleteAllRows();
    ::WINdebug()->LBpunkte()->Heading(0, QStringLiteral("Nr."));
    ::WINdebug()->LBpunkte()->Heading(1, QStringLiteral("x"));
    ::WINdebug()->LBpunkte()->Heading(2, QStringLiteral("y"));
    ::WINdebug()->LBpunkte()->Heading(3, QStringLiteral("z"));
    for (std::int64_t i = 1; i <= anzpkt; ++i) {
        ::WINdebug()->LBpunkte()->AddRow(QString());
        ::WINdebug()->LBpunkte()->Cell(i - 1, 0, Str(i));
        for (std::int64_t j = 1; j <= 3; ++j)
            ::WINdebug()->LBpunkte()->Cell(i - 1, j, Str(punkt(i, j)));
    }

    ::WINdebug()->LBlinien()->DeleteAllRows();
    ::WINdebug()->LBlinien()->Heading(0, QStringLiteral("Nr."));
    ::WINdebug()->LBlinien()->Heading(1, QStringLiteral("Pkt."));
    ::WINdebug()->LBlinien()->Heading(2, QStringLiteral("Farbe"));
    for (std::int64_t j = 1; j <= anzlin; ++j) {
        ::WINdebug()->LBlinien()->AddRow(QString());
        ::WINdebug()->LBlinien()->Cell(j - 1, 0, Str(j));
        for (std::int64_t k = 1; k <= 2; ++k)
            ::WINdebug()->LBlinien()->Cell(j - 1, k, Str(linie(j, k)));
    }
}

} // namespace Module1
