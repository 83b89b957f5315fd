#include "run/options.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "run/messages.h"

namespace geochain {

namespace {

constexpr char HINT[] = " (napoveda: geochain --help)";

// A layout named word by word, "n,y,x,h,...": an empty message when it is one.
std::string parse_layout(std::string_view list, Layout& layout) {
    layout.columns.clear();
    layout.rest = false;
    for (std::size_t begin = 0; begin <= list.size();) {
        const std::size_t end = std::min(list.find(',', begin), list.size());
        const std::string_view name = list.substr(begin, end - begin);
        begin = end + 1;
        if (layout.rest) {
            return "\"...\" musi byt posledni";
        }
        if (name == REST_OPTION) {
            layout.rest = true;
            continue;
        }
        const auto* found = std::find_if(std::begin(COLUMN_NAMES), std::end(COLUMN_NAMES),
                                         [name](const ColumnName& c) { return c.option == name; });
        if (found == std::end(COLUMN_NAMES)) {
            std::string known;
            for (const ColumnName& c : COLUMN_NAMES) {
                known.append(c.option).append(", ");
            }
            known.replace(known.size() - 2, 2, " a ");
            return "neznamy sloupec \"" + shown(name) + "\", mozne jsou " + known +
                   std::string(REST_OPTION);
        }
        const Column column = found->column;
        const auto is_height = [](Column c) { return c == Column::h || c == Column::optional_h; };
        const bool again =
            is_height(column)
                ? std::any_of(layout.columns.begin(), layout.columns.end(), is_height)
                : column != Column::skip &&
                      std::count(layout.columns.begin(), layout.columns.end(), column) > 0;
        if (again) {
            return "sloupec " + shown(name) + " je uveden dvakrat";
        }
        layout.columns.push_back(column);
    }
    return "";
}

// What a layout lacks or holds too much of for the points it is to read:
// x and y in S-JTSK, fi and lambda in ETRS89 (never a height that may be
// missing: every value back to S-JTSK depends on it). Empty when it fits.
std::string layout_misfit(const Layout& layout) {
    const auto has = [&layout](Column c) {
        return std::count(layout.columns.begin(), layout.columns.end(), c) > 0;
    };
    if (layout.chain.from_etrs89) {
        if (has(Column::x) || has(Column::y) || has(Column::optional_h)) {
            return "s volbou --from-etrs89 jsou sloupce fi, lambda a h, ne x, y a h?";
        }
        return has(Column::fi) && has(Column::lambda) ? "" : "chybi sloupec fi nebo lambda";
    }
    if (has(Column::fi) || has(Column::lambda)) {
        return "sloupce fi a lambda jen s volbou --from-etrs89";
    }
    return has(Column::x) && has(Column::y) ? "" : "chybi sloupec x nebo y";
}

enum class Name {
    table,
    columns,
    decimal_comma,
    exact,
    etrs89,
    from_etrs89,
    geojson,
    help,
    version
};

struct LongOption {
    Name name;
    std::string_view word;
};

constexpr LongOption LONG_OPTIONS[] = {
    {Name::table, "--table"},
    {Name::columns, "--columns"},
    {Name::decimal_comma, "--decimal-comma"},
    {Name::exact, "--exact"},
    {Name::etrs89, "--etrs89"},
    {Name::from_etrs89, "--from-etrs89"},
    {Name::geojson, "--geojson"},
    {Name::help, "--help"},
    {Name::version, "--version"},
};

// How many long options begin with the given word.
std::size_t options_named(std::string_view word) {
    return static_cast<std::size_t>(std::count_if(
        std::begin(LONG_OPTIONS), std::end(LONG_OPTIONS),
        [word](const LongOption& o) { return o.word.substr(0, word.size()) == word; }));
}

// The long option a word names, whole or by a beginning that no other
// option shares, as GNU tools take them ("--tab"); none for any other word.
// (Today every option's first letter is its own.)
const LongOption* long_option(std::string_view word) {
    for (const LongOption& o : LONG_OPTIONS) {
        if (o.word == word || (word.size() > 2 && o.word.substr(0, word.size()) == word &&
                               options_named(word) == 1)) {
            return &o;
        }
    }
    return nullptr;
}

Options usage_error(const std::string& message) {
    Options failed;
    failed.action = Action::usage_error;
    failed.message = message + HINT;
    return failed;
}

}  // namespace

Options parse_options(int argc, const char* const* argv, bool input_is_terminal) {
    Options options;
    bool help = false;
    bool version = false;
    bool columns = false;
    std::string_view columns_named;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options_end || arg.size() < 2 || arg[0] != '-') {
            options.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            options_end = true;
            continue;
        }
        if (arg[1] != '-') {  // short options, alone or together: -h, -V, -hV
            for (const char letter : arg.substr(1)) {
                if (letter != 'h' && letter != 'V') {
                    return usage_error("Neznama volba \"-" + shown(std::string_view(&letter, 1)) +
                                       "\"");
                }
                (letter == 'h' ? help : version) = true;
            }
            continue;
        }
        const std::size_t equals = arg.find('=');
        const LongOption* const option = long_option(arg.substr(0, equals));
        if (option == nullptr) {
            return usage_error("Neznama volba \"" + shown(arg) + "\"");
        }
        if (equals != std::string_view::npos && option->name != Name::columns) {
            return usage_error("Volba " + std::string(option->word) + " se zadava bez hodnoty");
        }
        switch (option->name) {
            case Name::help:
                help = true;
                break;
            case Name::version:
                version = true;
                break;
            case Name::table:
                options.table = true;
                break;
            case Name::decimal_comma:
                options.layout.decimal_comma = true;
                break;
            case Name::exact:
                options.layout.chain.exact = true;
                break;
            case Name::etrs89:
                options.layout.chain.etrs89 = true;
                break;
            case Name::from_etrs89:
                options.layout.chain.from_etrs89 = true;
                break;
            case Name::geojson:
                options.geojson = true;
                break;
            case Name::columns: {
                if (equals == std::string_view::npos && i + 1 == argc) {
                    return usage_error(
                        "Volba --columns vyzaduje seznam sloupcu, napr. --columns=n,y,x,h,...");
                }
                const std::string_view list = equals == std::string_view::npos
                                                  ? std::string_view(argv[++i])
                                                  : arg.substr(equals + 1);
                if (columns) {
                    return usage_error("Volba --columns je zadana dvakrat");
                }
                columns = true;
                const std::string why = parse_layout(list, options.layout);
                if (!why.empty()) {
                    return usage_error("Neplatne sloupce \"" + shown(list) + "\": " + why);
                }
                columns_named = list;
                break;
            }
        }
    }
    if (help || version) {
        options.action = help ? Action::help : Action::version;
        return options;
    }
    ChainOptions& chain = options.layout.chain;
    if (chain.from_etrs89 && (chain.etrs89 || chain.exact)) {
        return usage_error("Volba --from-etrs89 nejde spojit s --etrs89 ani s --exact");
    }
    if (options.geojson && !chain.etrs89 && !chain.from_etrs89) {
        return usage_error("Volba --geojson vyzaduje --etrs89 nebo --from-etrs89");
    }
    if (options.geojson && options.table) {
        return usage_error("Volby --geojson a --table nejdou spojit: GeoJSON je misto tabulky");
    }
    if (chain.from_etrs89 && !columns) {
        options.layout.columns = {Column::fi, Column::lambda, Column::h};
    }
    const std::string misfit = layout_misfit(options.layout);
    if (!misfit.empty()) {
        return usage_error("Neplatne sloupce \"" + shown(columns_named) + "\": " + misfit);
    }
    const bool laid_out = columns || options.layout.decimal_comma;
    if (laid_out && input_is_terminal && options.files.empty() && !options.table &&
        !options.geojson) {
        return usage_error(
            "Volby --columns a --decimal-comma plati pro soubor bodu nebo s volbou --table; "
            "na terminalu pouzijte --table");
    }
    // A list that names its columns may begin with a line of their names.
    options.layout.header_skipped = laid_out || options.table || options.geojson;
    return options;
}

std::string usage_text() {
    return "Pouziti: geochain [volby] [SOUBOR...]\n"
           "\n"
           "Bez voleb a souboru: dialog na terminalu, nebo zpracovani bodu \"X Y h\"\n"
           "ze standardniho vstupu s vypisem pro kazdy bod. Soubory se ctou\n"
           "v zadanem poradi, jako by byly spojene; - je standardni vstup.\n"
           "Kazdy bod se zapise do souboru fi.txt.\n"
           "\n"
           "  --table             jeden radek tabulky na bod misto vypisu\n"
           "  --columns=SEZNAM    poradi udaju na radku: n (cislo bodu), x, y, h (vyska),\n"
           "                      h? (vyska, jen je-li uvedena), - (udaj preskocit),\n"
           "                      na konci ... (zbytek radku); vychozi x,y,h;\n"
           "                      seznam z ceskeho geodetickeho programu: n,y,x,h?,...;\n"
           "                      s --from-etrs89 n, fi, lambda, h, - a ...\n"
           "  --decimal-comma     desetinna carka a ';' mezi sloupci (CSV z cesky\n"
           "                      nastaveneho Excelu nebo Calcu)\n"
           "  --exact             fi na Besselove elipsoidu presne (iteraci), ne radou\n"
           "  --etrs89            i ETRS89 metodou CUZK (tabulka dotransformacnich oprav,\n"
           "                      S-JTSK/05, Helmert, kvazigeoid CR-2005); treti cislo\n"
           "                      je normalni vyska H (Bpv)\n"
           "  --from-etrs89       z ETRS89 zpet metodou CUZK: na radku fi, lambda (stupne)\n"
           "                      a elipsoidicka vyska h; vysledek Y, X v S-JTSK a H (Bpv)\n"
           "  --geojson           s --etrs89 nebo --from-etrs89: kolekce GeoJSON (RFC 7946)\n"
           "                      misto vypisu, pro QGIS a webove mapy\n"
           "  -h, --help          tato napoveda\n"
           "  -V, --version       verze\n"
           "\n"
           "Priklad: geochain --table --columns=n,y,x,h?,... --decimal-comma seznam.txt > "
           "tabulka.csv\n"
           "Do ETRS89: geochain --table --etrs89 --columns=n,y,x,h?,... seznam.txt > etrs89.txt\n"
           "Z GNSS: geochain --table --from-etrs89 --columns=n,fi,lambda,h,... gnss.txt > "
           "sjtsk.txt\n"
           "Na mapu: geochain --geojson --etrs89 --columns=n,y,x,h?,... seznam.txt > body.geojson\n"
           "Podrobne: man geochain (ve Windows geochain.txt).\n";
}

std::string version_text() {
    return "geochain " GEOCHAIN_VERSION
           "\n"
           "Copyright (c) 2026 the geochain developers; MIT License.\n"
           "Obsahuje data CUZK: tabulku dotransformacnich oprav table_-y-x_3_v1710\n"
           "a kvazigeoid CR-2005, (c) CUZK - Czech Republic, licence CC BY 4.0.\n";
}

}  // namespace geochain
