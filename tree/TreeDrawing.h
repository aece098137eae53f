#pragma once

#include "tree/TreeNodes.h"

class clsFirma;
class clsAdresse;

// The images of the tree, 1-based as in the window's image list.
namespace TreeImage {
constexpr int OpenBook = 1;
constexpr int ClosedBook = 2;
constexpr int Page = 3;
constexpr int OrgChart = 4;
}

// The nodes of a whole document: the company, then each address followed by
// its sub-records, depth first and without recursion. Throws as the records'
// ShowTree does (two records with one number), with nodes holding what was
// drawn until then; nothing is shown. records, where the caller knows how
// many the document has, makes room for all of them at once.
void DrawCompanyTree(TreeNodes& nodes, clsFirma& firma, int records = 0);
// The nodes of an address and its sub-records below nodParentNode.
void DrawAddressTree(TreeNodes& nodes, clsAdresse& adresse, int nodParentNode);
