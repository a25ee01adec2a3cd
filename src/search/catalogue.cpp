#include "search/catalogue.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace tellurix {
namespace {

// One built-in site: its label and the search URL's pieces before and after
// the term, scheme included.
struct SiteRow {
    std::string_view label;
    std::string_view prefix;
    std::string_view suffix;
};

// The site picker shows this order as it stands: the one label that starts with
// a digit, then the labels grouped by first letter. Within a group the order is
// deliberate and not alphabetical. Percent escapes are stored verbatim.
// docs/sites.md lists every row with the evidence that its address answers
// (or why it is kept unchecked), and the rows that are no longer offered; a
// test keeps the two in step. A site whose answer was never checked keeps the
// address it always had. lastfm.de and twitter.com keep the names users know,
// though their sites answer at last.fm and x.com now.
constexpr std::array<SiteRow, kFilledSites> kSiteRows{{
    {"4players.de", "http://www.4players.de/4players.php/suchergebnis/Allgemein/4players/", ".html"},
    {"amazon.de", "https://www.amazon.de/s?k=", ""},
    {"arcor.de", "http://www.arcor.de/content/searchresult.jsp?scategorytype=web&Keywords=", ""},
    {"aol.de", "http://suche.aol.de/aol/search?s_it=aolde-homePage&q=", ""},
    {"bing.com", "https://www.bing.com/search?q=", ""},
    {"bugmenot.com", "http://www.bugmenot.com/view/", ""},
    {"blinde-kuh.de", "http://www.blinde-kuh.de/kddb/cms/websearch.do?query=", ""},
    {"computerbase.de", "https://www.computerbase.de/suche/?q=", ""},
    {"computerbild.de", "http://www.computerbild.de/", ".html"},
    {"chip.de", "http://www.chip.de/suche/?q=", ""},
    {"deviantart.com", "https://www.deviantart.com/search?q=", ""},
    {"dafont.com", "https://www.dafont.com/search.php?q=", ""},
    {"dict.cc", "https://www.dict.cc/?s=", ""},
    {"ebay.de", "https://www.ebay.de/sch/i.html?_nkw=", ""},
    {"eventim.de", "https://www.eventim.de/search/?searchterm=", ""},
    {"fireball.de", "http://www.fireball.de/ajax.asp?Auswahl=deutschem+Web&q=", ""},
    {"focus.de", "http://www.focus.de/suche/?search=", ""},
    {"freenet.de", "http://suche.freenet.de/cgi-bin/search.cgi?query=", ""},
    {"gamezone.de", "http://www.gamezone.de/Search/", ".html"},
    {"github.com", "https://github.com/search?q=", ""},
    {"google.de", "https://www.google.de/search?q=", "&hl=de"},
    {"giga.de", "http://www.giga.de/search.html?qs=", ""},
    {"gutefrage.net", "https://www.gutefrage.net/search?query=", ""},
    {"golem.de", "https://suche.golem.de/search.php?q=", ""},
    {"heise.de", "https://www.heise.de/suche/?q=", "&search_submit=Suche&rm=search"},
    {"handelsblatt.com", "http://www.handelsblatt.com/suche/?query=", ""},
    {"hotscripts.com", "http://www.hotscripts.com/search/?q=", ""},
    {"joomla.de", "http://www.joomla.de/such-ergebnis.html?searchphrase=all&searchword=", ""},
    {"jgerman.de", "http://www.jgerman.de/component/search/", ".html"},
    {"jamendo.com", "https://www.jamendo.com/search?q=", ""},
    {"kostenlos.de", "http://www.kostenlos.de/s/", ""},
    {"lycos.de", "http://suche.lycos.de/lcsearch/lcsearch?SearchText=", ""},
    {"linuxforen.de", "http://www.linuxforen.de/search.php?query=", ""},
    {"lastfm.de", "https://www.last.fm/search?q=", ""},
    {"macerkopf.de", "http://www.macerkopf.de/index.php?s=", ""},
    {"microsoft.com", "https://learn.microsoft.com/en-us/search/?terms=", ""},
    {"mogelpower.de", "http://www.mogelpower.de/cheats/suche.php?spiel=", ""},
    {"mediamarkt.de", "https://www.mediamarkt.de/de/search.html?query=", ""},
    {"msn.de", "http://search.msn.de/results.aspx?form=MSHOME&mkt=de-DE&setlang=de-DE&q=", ""},
    {"moviepilot.de", "https://www.moviepilot.de/suche?q=", ""},
    {"myspace.com",
     "http://searchservice.myspace.com/index.cfm?fuseaction=sitesearch.results&orig=search_Header&origpfc=Splash"
     "&type=People&qry=",
     ""},
    {"netzwelt.de", "http://www.netzwelt.de/", ".html"},
    {"notebookcheck.com", "http://www.notebookcheck.com/search/?q=", ""},
    {"openoffice.org", "http://de.openoffice.org/german/search.php?keywords=", ""},
    {"pcgameshardware.de", "http://www.pcgameshardware.de/guides/search/?query=", ""},
    {"pcwelt.de", "https://www.pcwelt.de/suche?searchStr=", ""},
    {"pcgames.de", "http://www.pcgames.de/ph/Search/Search.aspx?query=", ""},
    {"php.net", "https://www.php.net/manual-lookup.php?pattern=", ""},
    {"phpbb.de", "http://www.phpbb.de/search.php?search_keywords=", ""},
    {"pc-magazin.de", "http://www.pc-magazin.de/cgi/suchen.cgi?query=", ""},
    {"prosieben.de", "https://www.prosieben.de/suche?q=", ""},
    {"quoka.de", "http://www.quoka.de/s-", ""},
    {"rebuy.de", "https://www.rebuy.de/kaufen/suchen?q=", ""},
    {"spieletipps.de", "https://www.spieletipps.de/suche/?keyword=", ""},
    {"sat1.de", "http://www.sat1.de/suche/suchergebnisse.php?suchbegriff=", ""},
    {"softonic.de", "http://www.softonic.de/s/", ""},
    {"spiegel.de", "https://www.spiegel.de/suche/index.html?suchbegriff=", ""},
    {"stadt-bremerhaven.de", "https://stadt-bremerhaven.de/?s=", ""},
    {"selfhtml.org", "https://wiki.selfhtml.org/index.php?search=", ""},
    {"stern.de", "https://www.stern.de/suche/?q=", ""},
    {"sedo.com", "https://sedo.com/search/?keyword=", ""},
    {"t-online.de",
     "http://suche.t-online.de/fast-cgi/tsc?context=sl&mandant=toi&tpc=internet&device=html&portallanguage=de"
     "&userlanguage=de&q=",
     ""},
    {"techspot.com", "https://www.techspot.com/search/?q=", ""},
    {"tutorials.de", "http://www.tutorials.de/search.php?search=", ""},
    {"t-home.de", "http://suche.t-home.de/fast-cgi/tsc?q=", ""},
    {"tweakpc.de", "http://www.tweakpc.de/search?str=", ""},
    {"twitter.com", "https://x.com/search?q=", ""},
    {"tvspielfilm.de", "https://www.tvspielfilm.de/suche/?q=", ""},
    {"userscripts.org", "http://userscripts.org/scripts/search?q=", ""},
    {"ubuntuusers.de", "https://ubuntuusers.de/search/?query=", ""},
    {"wikipedia.org", "https://de.wikipedia.org/w/index.php?title=Spezial%3ASuche&search=", "&fulltext=Volltext"},
    {"web.de", "https://suche.web.de/web/result?q=", ""},
    {"winload.de", "http://www.winload.de/s/", ""},
    {"wolframalpha.com", "https://www.wolframalpha.com/input/?i=", ""},
    {"webnews.de", "http://www.webnews.de/ml/search/links/", "/"},
    {"woxikon.de", "https://synonyme.woxikon.de/synonyme/", ".php"},
    {"wordpress.org", "http://de.wordpress.org/?s=", ""},
    {"youtube.com", "https://www.youtube.com/results?search_query=", ""},
    {"yahoo.com", "https://de.search.yahoo.com/search?rd=r1&p=", ""},
    {"zdnet.de", "http://www.zdnet.de/download_suche_nach_programmen_suche-39002345-suche-1.htm?t=", ""},
}};

static_assert(kDefaultSitePosition < kFilledSites);
static_assert(kFilledSites < kCatalogueSize);

}  // namespace

Catalogue::Catalogue()
{
    sites_.reserve(kFilledSites);
    for (const SiteRow& row : kSiteRows)
        sites_.push_back({std::string(row.label), std::string(row.prefix), std::string(row.suffix)});
}

void Catalogue::setOwnSites(std::span<const SearchSite> own)
{
    sites_.resize(kFilledSites);
    const std::size_t room = static_cast<std::size_t>(kCatalogueSize - kFilledSites);
    sites_.insert(sites_.end(), own.begin(), own.begin() + static_cast<std::ptrdiff_t>(std::min(own.size(), room)));
}

std::optional<int> Catalogue::find(std::string_view label) const
{
    // No site has an empty label: a blank "Suchseite" value finds nothing.
    if (label.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        if (sites_[i].label == label)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

const SearchSite& Catalogue::site(int position) const
{
    static const SearchSite kNone{};
    if (position < 0 || static_cast<std::size_t>(position) >= sites_.size())
        return kNone;
    return sites_[static_cast<std::size_t>(position)];
}

std::vector<std::string> Catalogue::labels() const
{
    std::vector<std::string> labels;
    labels.reserve(sites_.size());
    for (const SearchSite& site : sites_)
        labels.push_back(site.label);
    return labels;
}

std::vector<std::string> builtInSiteLabels()
{
    std::vector<std::string> labels;
    labels.reserve(kFilledSites);
    for (const SiteRow& row : kSiteRows)
        labels.emplace_back(row.label);
    return labels;
}

std::string_view defaultSiteLabel()
{
    return kSiteRows[kDefaultSitePosition].label;
}

}  // namespace tellurix
