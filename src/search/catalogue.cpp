#include "search/catalogue.h"

#include <array>
#include <cstddef>
#include <vector>

namespace tellurix {
namespace {

// One built-in site. The prefix is put together at fill time as
// "http://" + host + path, so the host is written once per row.
struct SiteRow {
    std::string_view label;
    std::string_view host;
    std::string_view path;
    std::string_view suffix;
};

// The site picker shows this order as it stands: the one label that starts with
// a digit, then the labels grouped by first letter. Within a group the order is
// deliberate and not alphabetical. Percent escapes are stored verbatim. Each
// path goes with the host whose search answered it; for a few rows that is not
// the host the label names (the label stays, so stored choices keep working).
constexpr std::array<SiteRow, kFilledSites> kSiteRows{{
    {"4players.de", "www.4players.de", "/4players.php/suchergebnis/Allgemein/4players/", ".html"},
    {"amazon.de", "www.amazon.de", "/s/ref=nb_sb_noss?url=search-alias%3Daps&field-keywords=", ""},
    {"altavista.com", "de.altavista.com", "/web/results?itag=ody&q=", ""},
    {"arcor.de", "www.arcor.de", "/content/searchresult.jsp?scategorytype=web&Keywords=", ""},
    {"aol.de", "suche.aol.de", "/aol/search?s_it=aolde-homePage&q=", ""},
    {"bing.com", "www.bing.com", "/search?q=", ""},
    {"bugmenot.com", "www.bugmenot.com", "/view/", ""},
    {"blinde-kuh.de", "www.blinde-kuh.de", "/kddb/cms/websearch.do?query=", ""},
    {"computerbase.de", "www.computerbase.de", "/suche/?q=", ""},
    {"computerbild.de", "www.computerbild.de", "/", ".html"},
    {"chip.de", "www.chip.de", "/suche/?q=", ""},
    {"clipfish.de", "www.clipfish.de", "/suche/?search=", ""},
    {"deviantart.com", "www.deviantart.com", "/#order=9&q=", ""},
    {"dafont.com", "www.dafont.com", "/search.php?s=", ""},
    {"dict.cc", "www.dict.cc", "/?s=", ""},
    {"ebay.de", "shop.ebay.de", "/?_from=R40&_trksid=p3907.m38.l1313&_nkw=", ""},
    // The session id is the one the site handed out; its search answers with it.
    {"eventim.de", "www.eventim.de",
     "/Search.action;jsessionid=7F3A9C21B84E6D05A1C3F98E2B7D4A60.worker_a07?filter.query=", ""},
    {"fireball.de", "www.fireball.de", "/ajax.asp?Auswahl=deutschem+Web&q=", ""},
    {"focus.de", "www.focus.de", "/suche/?search=", ""},
    {"freenet.de", "suche.freenet.de", "/cgi-bin/search.cgi?query=", ""},
    {"gamezone.de", "www.gamezone.de", "/Search/", ".html"},
    {"github.com", "github.com", "/search?q=", ""},
    {"google.de", "www.google.de", "/#hl=de&q=", ""},
    {"gulli.com", "www.gulli.com",
     "/suche?cx=partner-pub-4817205936142857%3Ak7x2m9-q4w1&cof=FORID%3A11&ie=UTF-8&sa.x=0&sa.y=0&q=", ""},
    {"giga.de", "www.giga.de", "/search.html?qs=", ""},
    {"gutefrage.net", "www.gutefrage.net", "/suche/", ""},
    {"gigablast.com", "www.gigablast.com", "/search?q=", ""},
    {"golem.de", "suche.golem.de", "/search.php?q=", ""},
    {"heise.de", "www.heise.de", "/suche/?q=", "&search_submit=Suche&rm=search"},
    {"handelsblatt.com", "www.handelsblatt.com", "/suche/?query=", ""},
    {"hotscripts.com", "www.hotscripts.com", "/search/?q=", ""},
    {"ibm.com", "www.ibm.com",
     "/developerworks/search/searchResults.jsp?searchType=1&searchSite=dW&searchScope=dW&query=", ""},
    {"joomla.de", "www.joomla.de", "/such-ergebnis.html?searchphrase=all&searchword=", ""},
    {"jgerman.de", "www.jgerman.de", "/component/search/", ".html"},
    {"jamendo.com", "www.jamendo.com", "/search?name=", ""},
    {"kostenlos.de", "www.kostenlos.de", "/s/", ""},
    {"kwick.de", "www.kwick.de", "/suche/tags/", ""},
    {"lycos.de", "suche.lycos.de", "/lcsearch/lcsearch?SearchText=", ""},
    {"linuxforen.de", "www.linuxforen.de", "/search.php?query=", ""},
    {"lastfm.de", "www.lastfm.de", "/search/", ""},
    {"linux-magazin.de", "www.linux-magazin.de",
     "/googlesearch?cx=017343952061587264519%3Ah4qzw8xk2ne&cof=FORID%3A11&as_q=", ""},
    {"macerkopf.de", "www.macerkopf.de", "/index.php?s=", ""},
    {"microsoft.com", "social.msdn.microsoft.com", "/Search/en-US?query=", ""},
    {"mogelpower.de", "www.mogelpower.de", "/cheats/suche.php?spiel=", ""},
    {"mediamarkt.de", "www.mediamarkt.de", "/suche?q=", ""},
    {"msn.de", "search.msn.de", "/results.aspx?form=MSHOME&mkt=de-DE&setlang=de-DE&q=", ""},
    {"myvideo.de", "www.myvideo.de", "/Videos_A-Z?searchWord=", ""},
    {"moviepilot.de", "www.mister-wong.de", "/search/?search_type=w&keywords=", ""},
    {"mp3.de", "www.mircscripts.org", "/archive.php?stype=dll&squery=", ""},
    {"myspace.com", "searchservice.myspace.com",
     "/index.cfm?fuseaction=sitesearch.results&orig=search_Header&origpfc=Splash&type=People&qry=", ""},
    {"n24.de", "www.n24.de", "/search?qt=", ""},
    {"netzwelt.de", "www.netzwelt.de", "/", ".html"},
    {"notebookcheck.com", "www.notebookcheck.com", "/search/?q=", ""},
    {"oreilly.de", "www.oreilly.de", "/catalog/search.html?tfq=", ""},
    {"openoffice.org", "de.openoffice.org", "/german/search.php?keywords=", ""},
    {"pcgameshardware.de", "www.pcgameshardware.de", "/guides/search/?query=", ""},
    {"pcwelt.de", "www.pcwelt.de", "/index.php?s=", ""},
    {"pcgames.de", "www.pcgames.de", "/ph/Search/Search.aspx?query=", ""},
    {"php.net", "de.php.net", "/manual-lookup.php?pattern=", ""},
    {"phpbb.de", "www.phpbb.de", "/search.php?search_keywords=", ""},
    {"pc-magazin.de", "www.pc-magazin.de", "/cgi/suchen.cgi?query=", ""},
    {"prosieben.de", "de.selfhtml.org", "/navigation/suche/index.htm?Suchanfrage=", ""},
    {"quoka.de", "www.quoka.de", "/s-", ""},
    {"rebuy.de", "www.rebuy.de", "/s/", ""},
    {"spieletipps.de", "www.spieletipps.de", "/cheats/search_v2.php?keyword=", ""},
    {"sat1.de", "www.sat1.de", "/suche/suchergebnisse.php?suchbegriff=", ""},
    {"softonic.de", "www.softonic.de", "/s/", ""},
    {"spiegel.de", "www.spiegel.de", "/suche/index.html?suchbegriff=", ""},
    {"stadt-bremerhaven.de", "stadt-bremerhaven.de", "/?s=", ""},
    {"selfhtml.org", "wiki.selfhtml.org", "/index.php?search=", ""},
    {"stern.de", "www.stern.de", "/suche/?searchstring=", ""},
    {"t-online.de", "suche.t-online.de",
     "/fast-cgi/tsc?context=sl&mandant=toi&tpc=internet&device=html&portallanguage=de&userlanguage=de&q=",
     ""},
    {"techspot.com", "sourceforge.net", "/search/?type_of_search=soft&words=", ""},
    {"tecchannel.de", "www.sedo.com",
     "/search/searchresult.php4?linkurl=&language=d&search_type=advanced&keyword=", ""},
    {"tutorials.de", "www.tutorials.de", "/search.php?search=", ""},
    {"t-home.de", "suche.t-home.de", "/fast-cgi/tsc?q=", ""},
    {"tomshardware.com", "www.tomshardware.com", "/de/search.php?s=", ""},
    {"tweakpc.de", "www.tweakpc.de", "/search?str=", ""},
    {"tucows.com", "www.tucows.com", "/search.html?search_scope=win&search_terms=", ""},
    {"twitter.com", "twitter.com", "/#search?q=", ""},
    {"tvspielfilm.de", "www.tvspielfilm.de", "/suche/?param_search_string=", ""},
    {"userscripts.org", "userscripts.org", "/scripts/search?q=", ""},
    {"ubuntuusers.de", "ubuntuusers.de", "/search/?query=", ""},
    {"wikipedia.org", "de.wikipedia.org", "/w/index.php?title=Spezial%3ASuche&search=", "&fulltext=Volltext"},
    {"web.de", "suche.web.de", "/search/web/?mc=hp%40suche.suche%40home&origin=HP&su=", ""},
    {"winload.de", "www.winload.de", "/s/", ""},
    {"wolframalpha.com", "www.wolframalpha.com", "/input/?i=", ""},
    {"webnews.de", "www.webnews.de", "/ml/search/links/", "/"},
    {"woxikon.de", "www.woxikon.de", "/sphider/search.php?query=", "&btnG=%3E&search=1"},
    {"wordpress.org", "de.wordpress.org", "/?s=", ""},
    {"youtube.com", "www.youtube.com", "/results?search_query=", ""},
    {"yahoo.com", "de.search.yahoo.com", "/search?rd=r1&p=", ""},
    {"zdnet.de", "www.zdnet.de", "/download_suche_nach_programmen_suche-39002345-suche-1.htm?t=", ""},
}};

static_assert(kDefaultSitePosition < kFilledSites);
static_assert(kFilledSites < kCatalogueSize);

// Built on first use, so reading an entry is safe at any point of start-up.
std::vector<SearchSite>& table() {
    static std::vector<SearchSite> sites(kCatalogueSize);
    return sites;
}

}  // namespace

void reserveSearchSites() {
    table();
}

void fillSearchSites() {
    auto& sites = table();
    for (int i = 0; i < kFilledSites; ++i) {
        const SiteRow& row = kSiteRows[static_cast<std::size_t>(i)];
        SearchSite& site = sites[static_cast<std::size_t>(i)];
        site.label = row.label;
        site.urlPrefix = "http://";
        site.urlPrefix += row.host;
        site.urlPrefix += row.path;
        site.urlSuffix = row.suffix;
    }
}

void setOwnSearchSites(std::span<const SearchSite> own) {
    auto& sites = table();
    for (std::size_t i = kFilledSites; i < sites.size(); ++i) {
        const std::size_t index = i - kFilledSites;
        sites[i] = index < own.size() ? own[index] : SearchSite{};
    }
}

std::vector<std::string> builtInSiteLabels() {
    std::vector<std::string> labels;
    labels.reserve(kFilledSites);
    for (const SiteRow& row : kSiteRows) labels.emplace_back(row.label);
    return labels;
}

std::vector<std::string> siteLabels() {
    std::vector<std::string> labels;
    for (const SearchSite& site : table()) {
        if (!site.label.empty()) labels.push_back(site.label);
    }
    return labels;
}

std::optional<int> findSearchSite(std::string_view label) {
    // Every empty slot has an empty label; without this guard a blank
    // "Suchseite" value would pick slot 93 and launch the bare term.
    if (label.empty()) {
        return std::nullopt;
    }
    const auto& sites = table();
    for (int i = 0; i < kCatalogueSize; ++i) {
        if (sites[static_cast<std::size_t>(i)].label == label) {
            return i;
        }
    }
    return std::nullopt;
}

const SearchSite& searchSite(int position) {
    static const SearchSite kNone{};
    if (position < 0 || position >= kCatalogueSize) {
        return kNone;
    }
    return table()[static_cast<std::size_t>(position)];
}

std::string_view defaultSiteLabel() {
    return kSiteRows[kDefaultSitePosition].label;
}

}  // namespace tellurix
