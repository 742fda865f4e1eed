#pragma once

#include <string>

namespace kestrova {

// The machine's address as the meter shows it. Never blocks: an implementation that has to
// resolve names does it away from the caller's thread and answers with what it last knew.
class AddressLookup {
public:
    virtual ~AddressLookup() = default;
    // The dotted IPv4 address of interface `dialupInterface` when it has one, otherwise the
    // first address of the host name look-up; empty when neither is known.
    virtual std::string LocalAddress(const std::string& dialupInterface) = 0;
};

}  // namespace kestrova
