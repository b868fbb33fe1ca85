#pragma once

#include <QString>
#include <QVariant>

class ClientDataSet;

// Department helpers over a list of bm rows (bmlsh, bm_bmlsh, bmmc); the cursor of the list is not
// moved.

// The names from the top department down to the given one, joined by "\". A parent chain that loops
// (stored by an older client) stops before the first department met twice. Empty for an unknown key.
QString GetDeptPath(const ClientDataSet *departments, const QVariant &key);

// Whether candidate lies below department (a child, grandchild ...). A department is not its own
// descendant; loops in the stored chain end the walk.
bool IsDescendantDept(const ClientDataSet *departments, const QVariant &candidate,
                      const QVariant &department);
