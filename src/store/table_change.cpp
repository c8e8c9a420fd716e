#include "store/table_change.h"

#include <algorithm>
#include <utility>

namespace tal {

TableListeners::Subscription& TableListeners::Subscription::operator=(
    Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        m_entry = std::move(other.m_entry);
        m_owner = std::exchange(other.m_owner, nullptr);
    }
    return *this;
}

void TableListeners::Subscription::reset() {
    // The entry lives exactly as long as the owner holds it, so a live entry means a live owner.
    if (auto entry = m_entry.lock()) {
        entry->attached = false;
        auto& entries = m_owner->m_entries;
        entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
    }
    m_entry.reset();
    m_owner = nullptr;
}

TableListeners::Subscription TableListeners::add(Listener listener) {
    auto entry = std::make_shared<Subscription::Entry>();
    entry->listener = std::move(listener);
    m_entries.push_back(entry);
    Subscription subscription;
    subscription.m_entry = entry;
    subscription.m_owner = this;
    return subscription;
}

void TableListeners::deliver(const Table& table, const TableChange& change) {
    if (m_entries.empty())
        return;
    // A copy, so that listeners may come and go meanwhile.
    const auto entries = m_entries;
    for (const auto& entry : entries)
        if (entry->attached)
            entry->listener(table, change);
}

}  // namespace tal
