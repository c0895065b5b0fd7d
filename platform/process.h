// What a command-line program asks of the process it runs in.
#pragma once

#include <string>

// Prepares the process of a command-line program, first thing in main: the
// arguments in `*argc`/`*argv` become UTF-8 (on Windows they are taken from
// the wide command line, in storage that lasts as long as the process), the
// console shows UTF-8, standard output and error write their bytes unchanged
// (no CR before each LF on Windows), and a write past a file-size limit fails with EFBIG
// and is reported instead of ending the process.
void PrepareProcess(int* argc, char*** argv);

// This machine's name; "localhost" when it has none.
std::string HostName();
