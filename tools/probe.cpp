// What scripts/run shows of Travik's window: its texts, its entries and where
// it is ("window"), and "close".
#include "tools/probe.h"

int main(int argc, char** argv) { return probe::Probe(argc, argv, {{"window", probe::Shown<probe::WindowState>}}); }
