#pragma once

#include <QString>

#include <vector>

class clsFirma;
class clsAdresse;

// The addresses of a company in the order its tree shows them: each address
// followed by its sub-records, depth first, as the tree draws them. Without
// recursion, so documents nested any depth are walked.
std::vector<const clsAdresse*> AddressesInTreeOrder(const clsFirma& firma);

// Whether text is part of one of the address's column values, ignoring case.
// The record number ("Node") is never shown and is not searched.
bool AddressContains(const clsAdresse& adresse, const QString& text);
