// The page check on files, for the differential test: reads lines
// "ADVERTISER<TAB>PAGE ADDRESS<TAB>FILE" and prints "RESULT<TAB>REASON" for
// each, the file fed in pieces of 4 KiB as from the network.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "scan/LinkFinder.h"

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = line.find('\t', tab1 + 1);
        if (tab1 == std::string::npos || tab2 == std::string::npos) {
            std::cout << "bad line\t\n";
            continue;
        }
        std::ifstream file(line.substr(tab2 + 1), std::ios::binary);
        const std::string page((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        tarnwick::LinkFinder finder(line.substr(0, tab1));
        finder.setPageAddress(line.substr(tab1 + 1, tab2 - tab1 - 1));
        for (std::size_t at = 0; at < page.size(); at += 4096) {
            finder.feed(std::string_view(page).substr(at, 4096));
        }
        finder.finish();
        std::cout << finder.result() << '\t' << finder.reason() << '\n';
    }
    return 0;
}
