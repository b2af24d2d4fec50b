#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quenyx::printers {

// One printer found at start-up. Records are shared: the collection and everyone holding one see the
// same object, so a change through one reference is seen by all.
class Printer final
{
public:
    const std::string& printerName() const { return printerName_; }
    void setPrinterName(std::string name) { printerName_ = std::move(name); }
    bool serverDisabled() const { return serverDisabled_; }
    void setServerDisabled(bool disabled) { serverDisabled_ = disabled; }
    bool localDisabled() const { return localDisabled_; }
    void setLocalDisabled(bool disabled) { localDisabled_ = disabled; }
    std::int16_t TessalineID() const { return tessalineId_; }
    void setTessalineID(std::int16_t id) { tessalineId_ = id; }
    const std::string& clusterName() const { return clusterName_; }
    void setClusterName(std::string name) { clusterName_ = std::move(name); }

private:
    std::string printerName_;
    bool serverDisabled_ = false;
    bool localDisabled_ = false;
    std::int16_t tessalineId_ = 0;
    std::string clusterName_;
};

// A cluster's virtual print server and the registry path of its spooler resource's printers key.
class Cluster final
{
public:
    const std::string& clusterName() const { return clusterName_; }
    void setClusterName(std::string name) { clusterName_ = std::move(name); }
    const std::string& Key() const { return key_; }
    void setKey(std::string key) { key_ = std::move(key); }

private:
    std::string clusterName_;
    std::string key_;
};

// An ordered list addressed by position from 1, without keys. A position outside 1..Count gives null
// (Item) or false (Remove) and leaves the collection as it was.
template <typename Record>
class RecordCollection
{
public:
    using Pointer = std::shared_ptr<Record>;

    Pointer Item(std::size_t position) const
    {
        return position >= 1 && position <= items_.size() ? items_[position - 1] : nullptr;
    }
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    void Clear() { items_.clear(); }
    bool Remove(std::size_t position)
    {
        if (position < 1 || position > items_.size())
            return false;
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position - 1));
        return true;
    }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

protected:
    Pointer Append(Pointer record)
    {
        items_.push_back(record);
        return record;
    }
    std::vector<Pointer> items_;
};

class PrinterCollection final : public RecordCollection<Printer>
{
public:
    Pointer Add(std::int16_t tessalineId, std::string printerName, bool serverDisabled, bool localDisabled,
                std::string clusterName);
    // The last printer whose name equals `name` exactly (case-sensitive), or null.
    Pointer Find(const std::string& name) const;
};

class ClusterCollection final : public RecordCollection<Cluster>
{
public:
    Pointer Add(std::string clusterName, std::string key);
    // The last cluster whose clusterName equals `name` exactly, or null.
    Pointer Find(const std::string& name) const;
};

// The program-wide collections, filled once at start-up.
PrinterCollection& printers();
ClusterCollection& clusters();

} // namespace quenyx::printers
