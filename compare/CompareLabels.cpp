#include "compare/CompareLabels.h"

#include <cstring>
#include <map>
#include <string_view>

namespace {

// Where each folder-deep tail of the path starts, shortest first: the file name, then the folder and
// the file name, and so on up to the whole path. Empty names between separators are no folder.
std::vector<size_t> TailStarts(const std::string& path, const char* separators) {
    std::vector<size_t> starts;
    size_t end = path.size();
    while (end > 0 && std::strchr(separators, path[end - 1]) != nullptr)
        --end;
    while (end > 0) {
        size_t start = end;
        while (start > 0 && std::strchr(separators, path[start - 1]) == nullptr)
            --start;
        starts.push_back(start);
        end = start;
        while (end > 0 && std::strchr(separators, path[end - 1]) != nullptr)
            --end;
    }
    if (starts.empty())
        starts.push_back(0);
    // The whole path, with whatever leads its first name ("/", "C:\", "\\server\").
    if (starts.back() != 0)
        starts.push_back(0);
    return starts;
}

} // namespace

std::vector<std::string> CompareLabels(const std::vector<std::string>& paths, const char* separators) {
    std::vector<std::vector<size_t>> tails;
    for (const std::string& path : paths)
        tails.push_back(TailStarts(path, separators));
    std::vector<size_t> depth(paths.size(), 0);
    const auto label = [&](size_t i) { return std::string_view(paths[i]).substr(tails[i][depth[i]]); };
    // Every name that another shares takes one more folder, until none is shared or none can grow.
    for (bool grew = true; grew;) {
        grew = false;
        std::map<std::string_view, std::vector<size_t>> holders;
        for (size_t i = 0; i < paths.size(); ++i)
            holders[label(i)].push_back(i);
        for (const auto& [text, same] : holders) {
            if (same.size() < 2)
                continue;
            for (const size_t i : same) {
                if (depth[i] + 1 < tails[i].size()) {
                    ++depth[i];
                    grew = true;
                }
            }
        }
    }
    std::vector<std::string> labels;
    std::map<std::string, int> seen;
    for (size_t i = 0; i < paths.size(); ++i) {
        std::string text(label(i));
        const int count = ++seen[text];
        if (count > 1)
            text += " (" + std::to_string(count) + ")";
        labels.push_back(std::move(text));
    }
    return labels;
}
