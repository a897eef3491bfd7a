// Writes the sample table to argv[1] and prints the failure message, if any. The permission
// tests run it as another user.
#include "exchange/workbook.h"
#include "number_formats.h"
#include "table_support.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const kolmaris::NumberFormat& german = kolmaris::test_support::german;
    try {
        kolmaris::writeResultsWorkbook(kolmaris::test_support::sampleResults, german, argv[1]);
    } catch (const kolmaris::WorkbookError& e) {
        std::fputs(e.what(), stdout);
        return 1;
    }
    return 0;
}
