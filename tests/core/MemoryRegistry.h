// An in-memory registry with the Windows rules that matter here: key names are
// case-insensitive, a key with subkeys cannot be deleted, subkeys enumerate in
// name order. It counts writes and logs deletions for the tests.
#pragma once

#include "app/IRegistry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMemoryRegistry : public IRegistry {
public:
    struct Node {
        std::string name;
        std::map<std::string, std::unique_ptr<Node>> children; // by folded name
        std::map<std::string, std::string> values;             // "" is the default value
    };

    CMemoryRegistry() {
        m_handles[kHKeyClassesRoot] = &m_classesRoot;
        m_handles[kHKeyCurrentUser] = &m_currentUser;
        m_handles[kHKeyLocalMachine] = &m_localMachine;
    }

    int m_writes = 0;                    // keys created and values set
    std::vector<std::string> m_deleted;  // full paths of deleted keys, in order
    std::vector<std::string> m_readOnly; // folded paths that refuse full access

    bool OpenKey(RegKey parent, const std::string& subkey, bool write, RegKey* key) override {
        Node* node = Find(parent, subkey);
        if (!node || (write && IsReadOnly(node)))
            return false;
        *key = NewHandle(node);
        return true;
    }

    bool CreateKey(RegKey parent, const std::string& subkey, RegKey* key) override {
        Node* node = Resolve(parent);
        if (!node)
            return false;
        for (const std::string& part : Split(subkey)) {
            auto& child = node->children[Fold(part)];
            if (!child) {
                child = std::make_unique<Node>();
                child->name = part;
                ++m_writes;
            }
            node = child.get();
        }
        *key = NewHandle(node);
        return true;
    }

    void CloseKey(RegKey key) override { m_handles.erase(key); }

    bool EnumSubkey(RegKey key, unsigned index, std::string* name) override {
        Node* node = Resolve(key);
        if (!node || index >= node->children.size())
            return false;
        auto it = node->children.begin();
        std::advance(it, index);
        *name = it->second->name;
        return true;
    }

    bool DeleteKey(RegKey parent, const std::string& subkey) override {
        Node* node = Resolve(parent);
        const std::vector<std::string> parts = Split(subkey);
        if (!node || parts.empty())
            return false;
        for (size_t i = 0; i + 1 < parts.size(); ++i) {
            auto it = node->children.find(Fold(parts[i]));
            if (it == node->children.end())
                return false;
            node = it->second.get();
        }
        auto it = node->children.find(Fold(parts.back()));
        if (it == node->children.end() || !it->second->children.empty())
            return false;
        m_deleted.push_back(PathOf(it->second.get()));
        node->children.erase(it);
        return true;
    }

    bool SetStringValue(RegKey key, const char* name, const std::string& text) override {
        Node* node = Resolve(key);
        if (!node)
            return false;
        node->values[name ? name : ""] = text;
        ++m_writes;
        return true;
    }

    bool QueryStringValue(RegKey key, const char* name, std::string* text) override {
        Node* node = Resolve(key);
        if (!node)
            return false;
        auto it = node->values.find(name ? name : "");
        if (it == node->values.end())
            return false;
        *text = it->second;
        return true;
    }

    // Test helpers.
    bool Exists(RegKey root, const std::string& path) { return Find(root, path) != nullptr; }
    std::optional<std::string> Value(RegKey root, const std::string& path,
                                     const std::string& name = "") {
        Node* node = Find(root, path);
        if (!node || !node->values.count(name))
            return std::nullopt;
        return node->values[name];
    }
    size_t ChildCount(RegKey root, const std::string& path) {
        Node* node = Find(root, path);
        return node ? node->children.size() : 0;
    }
    size_t OpenHandles() const { return m_handles.size() - 3; }

private:
    Node m_classesRoot, m_currentUser, m_localMachine;
    std::map<RegKey, Node*> m_handles;
    RegKey m_next = 1;

    static std::string Fold(std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    }
    static std::vector<std::string> Split(const std::string& path) {
        std::vector<std::string> parts;
        std::string part;
        for (char c : path) {
            if (c == '\\') {
                if (!part.empty())
                    parts.push_back(part);
                part.clear();
            } else {
                part += c;
            }
        }
        if (!part.empty())
            parts.push_back(part);
        return parts;
    }
    Node* Resolve(RegKey key) {
        auto it = m_handles.find(key);
        return it == m_handles.end() ? nullptr : it->second;
    }
    Node* Find(RegKey parent, const std::string& path) {
        Node* node = Resolve(parent);
        for (const std::string& part : Split(path)) {
            if (!node)
                return nullptr;
            auto it = node->children.find(Fold(part));
            node = it == node->children.end() ? nullptr : it->second.get();
        }
        return node;
    }
    RegKey NewHandle(Node* node) {
        const RegKey key = m_next++;
        m_handles[key] = node;
        return key;
    }
    // Paths are rebuilt by search, which is fine for test-sized trees.
    bool PathTo(const Node* from, const Node* target, std::string prefix, std::string* out) {
        if (from == target) {
            *out = prefix;
            return true;
        }
        for (const auto& [folded, child] : from->children) {
            const std::string next = prefix.empty() ? child->name : prefix + "\\" + child->name;
            if (PathTo(child.get(), target, next, out))
                return true;
        }
        return false;
    }
    std::string PathOf(const Node* node) {
        std::string path;
        if (PathTo(&m_classesRoot, node, "HKCR", &path) ||
            PathTo(&m_localMachine, node, "HKLM", &path) ||
            PathTo(&m_currentUser, node, "HKCU", &path))
            return path;
        return "?";
    }
    bool IsReadOnly(const Node* node) {
        const std::string path = Fold(PathOf(node));
        return std::find(m_readOnly.begin(), m_readOnly.end(), path) != m_readOnly.end();
    }
};
