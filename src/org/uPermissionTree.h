#pragma once

class CheckTree;
class ClientDataSet;

// Builds a menu permission tree from rows with cdbh, sjcdbh, cdmc: groups (parent "04") at the top,
// items under every node of their group's code; items whose group is not there are dropped, and groups
// left without items are removed. Every node is expanded and carries its code.
void FillPermissionTree(CheckTree *tree, ClientDataSet *rows);
