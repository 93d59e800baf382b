#pragma once

#include "platform/ErrorBarrier.h"
#include "platform/posix/MachineDatabase.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace q7n::platform {

// What a stand-in answers, in Windows codes of its own kind, for each way the machine database
// can fail it.
struct TMachineStoreErrors {
    std::uint32_t Denied;  // the file or the transaction may not be written
    std::uint32_t Busy;    // another process holds the database for longer than we wait
    std::uint32_t Damaged; // not a database, or a damaged one
    std::uint32_t Foreign; // tables of an unknown schema, or of another version of ours
    std::uint32_t Failed;  // any other failure of the database or of the program
    std::uint32_t OutOfMemory;
};

// The machine database as a Windows stand-in uses it: opened at the first call that needs it,
// read-only when the mode says so or when the file may not be written (a user without rights
// may still look), with the stand-in's tables (its Part at Version) made on its first write.
// Calls run through Guarded, which turns every failure into the stand-in's code and keeps its
// text. A damaged or foreign file is left as it is and looked at afresh by the next call.
class TMachineStore {
public:
    using TCreateTables = std::function<void(TMachineDatabase&)>;

    TMachineStore(std::string Path, TMachineDatabaseMode Mode, std::string Part, int Version,
                  TCreateTables CreateTables, const TMachineStoreErrors& Errors);
    TMachineStore(const TMachineStore&) = delete;
    TMachineStore& operator=(const TMachineStore&) = delete;
    ~TMachineStore();

    const std::string& Path() const { return FPath; }
    // What went wrong in the database at the last guarded call; empty when nothing did.
    const std::string& LastErrorText() const { return FLastErrorText; }

    // The database, opened when it is not yet: null when the file is missing and Create is false
    // or the mode is read-only (nothing is made then).
    TMachineDatabase* Open(bool Create);
    // The open database; only after Open has answered one.
    TMachineDatabase& Database() const { return *FDatabase; }
    bool IsOpen() const { return FDatabase != nullptr; }
    bool ReadOnly() const { return FDatabase && FDatabase->ReadOnly(); }
    // Whether the stand-in's tables are there in the open database; Create makes them where the
    // database may be written. A reader looks again each time: a writer may make them meanwhile.
    bool HasTables(bool Create);

    // Runs Body, which answers a code or a status; what it raises becomes the stand-in's code.
    template <class TBody> auto Guarded(TBody&& Body) {
        FLastErrorText.clear();
        return ErrorBarrier(std::forward<TBody>(Body), [this] { return FailedNow(); });
    }

private:
    // The code of the exception in flight, with its text kept; for a catch block.
    std::uint32_t FailedNow();
    std::uint32_t Failed(const EMachineDatabaseError& E);

    std::string FPath;
    TMachineDatabaseMode FMode;
    std::string FPart;
    int FVersion;
    TCreateTables FCreateTables;
    TMachineStoreErrors FErrors;
    std::unique_ptr<TMachineDatabase> FDatabase;
    bool FHasTables = false;
    std::string FLastErrorText;
};

// The handles a stand-in gives out for the objects it has open: handle-like values, never 0.
template <class TEntry> class TStandInHandles {
public:
    std::uintptr_t Add(TEntry Entry) {
        std::uintptr_t Handle = FNext;
        FNext += 4;
        FEntries.emplace(Handle, std::move(Entry));
        return Handle;
    }
    TEntry* Find(std::uintptr_t Handle) {
        auto Found = FEntries.find(Handle);
        return Found == FEntries.end() ? nullptr : &Found->second;
    }
    const TEntry* Find(std::uintptr_t Handle) const {
        auto Found = FEntries.find(Handle);
        return Found == FEntries.end() ? nullptr : &Found->second;
    }
    void Remove(std::uintptr_t Handle) { FEntries.erase(Handle); }

private:
    std::map<std::uintptr_t, TEntry> FEntries;
    std::uintptr_t FNext = 0x10;
};

} // namespace q7n::platform
