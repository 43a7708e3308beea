// barvik-sheet-reader: reads one workbook for barvik and barvik-cli, in a process of its own, and hands
// its active sheet back on standard output. Not meant to be run by hand.

#include "spreadsheet/reader_process.h"

int main(int argc, char** argv)
{
    return spreadsheet::detail::runSheetReader(argc, argv);
}
