#include "platform/OemCodePageTable.h"

#include <QLocale>

#include <algorithm>
#include <iterator>

namespace {

struct DefaultPage
{
    const char *locale;
    int number;
};

// The system's own table of default OEM code pages (LOCALE_IDEFAULTCODEPAGE), as language,
// language-Script or language-REGION, one entry where a whole language shares a page. Every
// locale it does not name, the C and POSIX locales among them, reads 437; so do the locales
// for which the system has no OEM page at all (Hindi, Georgian, Armenian and others that it
// handles in Unicode only), whose machines run the console in the page of another locale.
constexpr DefaultPage DefaultPages[] = {
    // Arabic script
    {"ar", 720},
    {"ckb", 720},
    {"fa", 720},
    {"pa-Arab", 720},
    {"sd-Arab", 720},
    {"ug", 720},
    {"ur", 720},
    // Greek
    {"el", 737},
    // Baltic
    {"et", 775},
    {"lt", 775},
    {"lv", 775},
    // Western European, and English outside the few countries that kept 437
    {"af", 850},
    {"arn", 850},
    {"br", 850},
    {"ca", 850},
    {"co", 850},
    {"cy", 850},
    {"da", 850},
    {"de", 850},
    {"dsb", 850},
    {"en", 850},
    {"es", 850},
    {"eu", 850},
    {"ff-Latn", 850},
    {"fi", 850},
    {"fo", 850},
    {"fr", 850},
    {"fy", 850},
    {"ga", 850},
    {"gd", 850},
    {"gl", 850},
    {"gn", 850},
    {"gsw", 850},
    {"hsb", 850},
    {"id", 850},
    {"is", 850},
    {"it", 850},
    {"jv", 850},
    {"kl", 850},
    {"lb", 850},
    {"moh", 850},
    {"ms", 850},
    {"nb", 850},
    {"nl", 850},
    {"nn", 850},
    {"nso", 850},
    {"oc", 850},
    {"pt", 850},
    {"qu", 850},
    {"quc", 850},
    {"rm", 850},
    {"se", 850},
    {"sma", 850},
    {"smj", 850},
    {"smn", 850},
    {"sms", 850},
    {"sv", 850},
    {"tn", 850},
    {"tzm-Latn", 850},
    {"wa", 850},
    {"wo", 850},
    {"xh", 850},
    {"zu", 850},
    {"en-IN", 437},
    {"en-MY", 437},
    {"en-PH", 437},
    {"en-SG", 437},
    {"en-US", 437},
    {"en-ZA", 437},
    {"en-ZW", 437},
    // Central European
    {"bs", 852},
    {"cs", 852},
    {"hr", 852},
    {"hu", 852},
    {"pl", 852},
    {"ro", 852},
    {"sk", 852},
    {"sl", 852},
    {"sq", 852},
    {"sr-Latn", 852},
    {"tk", 852},
    // Serbian and Bosnian in Cyrillic
    {"bs-Cyrl", 855},
    {"sr-Cyrl", 855},
    // Turkish, and Azerbaijani and Uzbek in Latin
    {"az", 857},
    {"tr", 857},
    {"uz", 857},
    // Hebrew
    {"he", 862},
    // Cyrillic. The system handles Kazakh in Unicode only; a Kazakh machine's console reads the
    // Cyrillic page of the locale it runs instead.
    {"az-Cyrl", 866},
    {"ba", 866},
    {"be", 866},
    {"bg", 866},
    {"kk", 866},
    {"ky", 866},
    {"mk", 866},
    {"mn-Cyrl", 866},
    {"ru", 866},
    {"sah", 866},
    {"tg", 866},
    {"tt", 866},
    {"uk", 866},
    {"uz-Cyrl", 866},
    // Thai
    {"th", 874},
    // Japanese, Chinese and Korean, in pages of one or two bytes a character
    {"ja", 932},
    {"zh", 936},
    {"ko", 949},
    {"zh-Hant", 950},
    // Vietnamese
    {"vi", 1258},
};

int numberFor(const QString &tag)
{
    const auto found = std::find_if(
        std::begin(DefaultPages), std::end(DefaultPages),
        [&](const DefaultPage &page) { return tag == QLatin1StringView(page.locale); });
    return found == std::end(DefaultPages) ? 0 : found->number;
}

} // namespace

int oemCodePageNumberFor(const QLocale &locale)
{
    const QString language = QLocale::languageToCode(locale.language());
    const QString script = QLocale::scriptToCode(locale.script());
    const QString region = QLocale::territoryToCode(locale.territory());
    const QString dash = QStringLiteral("-");
    // A region's own page wins over its script's, and that over its language's.
    for (const QString &tag : {language + dash + region, language + dash + script, language}) {
        if (const int number = numberFor(tag))
            return number;
    }
    return 437;
}
