#pragma once

// The names the generated contacts of the import benchmarks are made of,
// sixteen of each, with German letters among them.
inline constexpr const char* FamilyNames[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber",  "Meyer",
                                              "Wagner", "Becker",  "Schulz",    "Hoffmann", "Schäfer", "Koch",
                                              "Bauer",  "Richter", "Klein",     "Wolf"};
inline constexpr const char* GivenNames[] = {"Anna", "Björn", "Clara", "Dieter", "Emma", "Felix", "Greta", "Hans",
                                             "Ida",  "Jörg",  "Karla", "Lutz",   "Mia",  "Nils",  "Olga",  "Paul"};
