// The page check on files, for the differential test: reads lines
// "ADVERTISER<TAB>PAGE ADDRESS<TAB>FILE[<TAB>PIECE]" and prints
// "RESULT<TAB>REASON" for each, the file fed in pieces of PIECE bytes
// (4096 when not given) as from the network.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "scan/LinkFinder.h"

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) {
            std::cout << "bad line\t\n";
            continue;
        }
        const std::size_t tab3 = line.find('\t', tab2 + 1);
        const std::string path = line.substr(tab2 + 1, tab3 - tab2 - 1);
        const std::size_t piece =
            tab3 == std::string::npos ? 4096 : std::stoul(line.substr(tab3 + 1));
        std::ifstream file(path, std::ios::binary);
        if (!file || piece == 0) {
            std::cout << "bad line\tcannot read " << path << '\n';
            continue;
        }
        const std::string page((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        tarnwick::LinkFinder finder(line.substr(0, tab1));
        finder.setPageAddress(std::string_view(line).substr(tab1 + 1, tab2 - tab1 - 1));
        for (std::size_t at = 0; at < page.size(); at += piece) {
            finder.feed(std::string_view(page).substr(at, piece));
        }
        finder.finish();
        std::cout << resultWord(finder.result()) << '\t' << finder.reason() << '\n';
    }
    return 0;
}
