#include "tools/devhost/Journal.h"

void Journal::AddLog(const LogEntry &entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.push_back(entry);
}

void Journal::AddTrayMove(const TrayMove &move) {
    std::lock_guard<std::mutex> lock(mutex_);
    moves_.push_back(move);
}

size_t Journal::LogCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_.size();
}

size_t Journal::TrayMoveCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return moves_.size();
}

std::vector<LogEntry> Journal::LogSince(size_t first) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (first >= log_.size())
        return {};
    return std::vector<LogEntry>(log_.begin() + first, log_.end());
}

std::vector<TrayMove> Journal::TrayMovesSince(size_t first) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (first >= moves_.size())
        return {};
    return std::vector<TrayMove>(moves_.begin() + first, moves_.end());
}
