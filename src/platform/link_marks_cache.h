#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "meter/interface_table.h"
#include "platform/link_fields.h"

namespace kestrova {

// The sysfs marks of each link, read once when the link is first seen rather than at every
// snapshot: what kind of device a link is does not change while it exists. A link is known by
// its interface index and name, so a re-created or renamed link is read afresh.
class LinkMarksCache {
public:
    explicit LinkMarksCache(std::string sysfsRoot) : root_(std::move(sysfsRoot)) {}

    // The marks of link `index` named `name`; no marks when its folder cannot be opened (the
    // link went away), and then it is tried again next time.
    const LinkMarks& For(int index, const std::string& name);
    // Forgets the links that are not in `rows`.
    void KeepOnly(const InterfaceSnapshot& rows);

    // How many links' folders have been read.
    std::size_t Reads() const { return reads_; }

private:
    struct Entry {
        int index;
        std::string name;
        LinkMarks marks;
    };
    std::string root_;
    std::string path_;  // reused for each read
    std::vector<Entry> entries_;
    LinkMarks none_;
    std::size_t reads_ = 0;
};

}  // namespace kestrova
