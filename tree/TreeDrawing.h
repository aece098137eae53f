#pragma once

class clsTreeView;
class clsFirma;
class clsAdresse;

// The images of the tree, 1-based as in the window's image list.
namespace TreeImage {
constexpr int OpenBook = 1;
constexpr int ClosedBook = 2;
constexpr int Page = 3;
constexpr int OrgChart = 4;
}

// Clears the tree and draws the company with all its addresses.
void DrawCompanyTree(clsTreeView& trvBaum, clsFirma& firma);
// Draws an address below nodParentNode, followed by its sub-records, depth
// first and without recursion.
void DrawAddressTree(clsTreeView& trvBaum, clsAdresse& adresse, int nodParentNode);
