// The substitute host's side of the Xtra interfaces: its allocator, its callback
// handing out services by interface identifier, the services themselves, and the
// registration cache. Everything is plain C++ over the host's value store; the
// stage window is a handle supplied from outside.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "tools/xtrahost/host_values.h"
#include "xtra/framework/host_interfaces.h"

// The host's own codes.
constexpr XtraCode kHostErrNoInterface = 0x80004002u;  // service not offered
constexpr XtraCode kHostErrRefused = 0x80004005u;      // an operation the host turned down
constexpr XtraCode kHostErrWrongValue = 0x8004A001u;   // value of another kind

enum class HostObjectId {
  NelValue, NetValue, List, Player, AppInfo, Colour, Auxiliary, Movie, Stage,  // services
  Allocator, Callback, Cache, EntryDictionary,
  Count
};

class XtraHost;

// Every object the host hands out: an operation table, then the host's bookkeeping.
struct HostObject {
  const void* ops;
  XtraHost* host;
  int32_t refs;
  HostObjectId id;
  size_t index;  // registry entry of an entry dictionary
};

class XtraHost {
 public:
  struct StoredValue {
    uint32_t type;
    std::string bytes;
  };
  struct RegistryEntry {
    XtraGuid classId;
    XtraGuid interfaceId;
    bool dictionaryMatched;  // the Xtra passed on the dictionary Register was given
    std::map<std::string, StoredValue> values;
  };

  XtraHost();
  XtraHost(const XtraHost&) = delete;
  XtraHost& operator=(const XtraHost&) = delete;
  ~XtraHost();

  // Settings.
  std::string hostVersion = "11.5";
  void* stageWindow = nullptr;
  int failAllocations = 0;  // the next n allocations answer null; negative: every one
  // Faults: each operation answers kHostErrRefused. The information query and the
  // native-window query fill their outputs anyway, so that an Xtra that ignores the
  // code is caught using them.
  bool failRegistryEntry = false;
  bool failPut = false;
  bool failInfo = false;
  bool failNativeWindow = false;
  // Takes a service away: value, list, player, appinfo, colour, auxiliary, movie, stage.
  bool SetUnavailable(const std::string& serviceName);
  // Sets one of the faults by name: entry, put, info, window.
  bool SetFault(const std::string& faultName);

  HostAllocator* Allocator() { return reinterpret_cast<HostAllocator*>(&objects_[int(HostObjectId::Allocator)]); }
  HostCallback* Callback() { return reinterpret_cast<HostCallback*>(&objects_[int(HostObjectId::Callback)]); }
  RegistrationCache* Cache() { return reinterpret_cast<RegistrationCache*>(&objects_[int(HostObjectId::Cache)]); }
  void* XtraDictionary() { return &xtraDictionary_; }
  HostValueStore& Values() { return values_; }

  const std::vector<RegistryEntry>& Entries() const { return entries_; }

  // Bookkeeping for leak checks.
  uint32_t allocationCount = 0;
  uint32_t badFrees = 0;
  int classObjects = 0;            // class objects the host made and still holds
  XtraCode lastDestroyCode = 0;    // what the last destroy procedure answered
  size_t LiveBlocks() const { return blocks_.size(); }
  int32_t Refs(HostObjectId id) const { return objects_[int(id)].refs; }
  // "player service (1)" for every service still referenced.
  std::vector<std::string> HeldServices() const;

  // Used by the host's operation tables.
  void* Allocate(uint32_t size);
  void Free(void* block);
  XtraCode Offer(const XtraGuid& interfaceId, void** out);
  XtraCode AddEntry(void* dictionary, const XtraGuid* classId, const XtraGuid* interfaceId,
                    RegistryEntryDictionary** out);
  XtraCode Put(size_t entry, uint32_t type, const void* data, uint32_t size, const char* key);
  XtraCode MovieOut(Movie** out);
  XtraCode StageOut(StageWindow** out);

 private:
  HostObject objects_[int(HostObjectId::Count)];
  bool unavailable_[int(HostObjectId::Count)] = {};
  std::map<void*, uint32_t> blocks_;
  std::vector<RegistryEntry> entries_;
  std::deque<HostObject> entryDictionaries_;
  HostValueStore values_;
  int xtraDictionary_ = 0;
};

// "{AC3E7803-0002-8FE5-0000-080007160DC3}"
std::string FormatGuid(const XtraGuid& guid);
