#include "platform/link_marks_cache.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace kestrova {

const LinkMarks& LinkMarksCache::For(int index, const std::string& name) {
    for (const Entry& entry : entries_) {
        if (entry.index == index && entry.name == name) return entry.marks;
    }
    path_.assign(root_);
    path_ += '/';
    path_ += name;
    const int folder = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return none_;
    ++reads_;
    Entry entry{index, name, ReadLinkMarks(folder)};
    ::close(folder);
    // A link index names one link at a time: whatever was known under it is gone.
    std::erase_if(entries_, [index](const Entry& e) { return e.index == index; });
    return entries_.emplace_back(std::move(entry)).marks;
}

void LinkMarksCache::KeepOnly(const InterfaceSnapshot& rows) {
    std::erase_if(entries_, [&rows](const Entry& entry) {
        return std::none_of(rows.begin(), rows.end(), [&entry](const InterfaceRow& row) {
            return row.index == entry.index && row.name == entry.name;
        });
    });
}

}  // namespace kestrova
