#pragma once
// Checks that need permissions to bind, which they do not for root.
#include <functional>

namespace propdesk::test {

// Whether check holds for the unprivileged user nobody. Run as root, the check runs in a child
// process that gives up its privileges for good; the folders and files it uses must let nobody in.
bool HoldsForAnUnprivilegedUser(const std::function<bool()>& check);

}  // namespace propdesk::test
