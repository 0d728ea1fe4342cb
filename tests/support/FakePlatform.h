#pragma once

#include <algorithm>
#include <atomic>
#include <cctype>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "install/PayloadTable.h"
#include "tests/support/FakeSurface.h"
#include "wizard/Unit1.h"

// Runs the work at once on the caller's thread, each step for the window as it is handed over.
class FakeWaiting : public Waiting {
  public:
    void Run(Leaving leaving, FunctionRef<void(const ToWindow&)> work) override {
        if (current) throw std::logic_error("a wait inside a wait");
        current = leaving;
        try {
            auto runNow = [](FunctionRef<void()> step) { step(); };
            work(runNow);
        } catch (...) {
            current.reset();
            throw;
        }
        current.reset();
    }
    // The library is asked, and the set written, only where the window does not wait for them.
    void ExpectInside(Leaving leaving, const char* what) const {
        if (current != leaving) throw std::logic_error(std::string(what) + " outside its wait");
    }

  private:
    std::optional<Leaving> current;
};

class FakeRegistry : public Registry {
  public:
    std::optional<std::string> ReadUserString(const std::string& key,
                                              const std::string& name) override {
        ++reads;
        if (log) log->push_back("registry");
        lastKey = key;
        lastName = name;
        if (wrongType) throw std::runtime_error("Invalid data type for '" + name + "'");
        return value;
    }
    std::optional<std::string> value;
    bool wrongType = false;
    int reads = 0;
    std::string lastKey, lastName;
    CallLog* log = nullptr;
};

// A component library as the fake loader knows it; a missing optional is a missing export.
struct FakeLibrary {
    std::optional<std::uint8_t> testSiec;
    std::optional<std::string> owner;
    bool testSiecFaults = false;
    bool ownerFaults = false;
    bool unloadFaults = false;
};

class FakeLibraries : public Libraries {
  public:
    explicit FakeLibraries(CallLog& log) : log(log) {}

    LibraryHandle Load(const std::string& path) override {
        if (waiting) waiting->ExpectInside(Waiting::Leaving::AtOnce, "a library loaded");
        log.push_back("load " + path);
        loads.push_back(path);
        auto found = libraries.find(path);
        if (found == libraries.end()) return nullptr;
        ++loaded;
        return &found->second;
    }
    ExportAddress Find(LibraryHandle library, const char* name) override {
        auto* lib = static_cast<FakeLibrary*>(library);
        std::string export_name = name;
        if (export_name == "TestSiec" && lib->testSiec)
            return &exports.emplace_back(Export{lib, 1});
        if (export_name == "Wlasciciel" && lib->owner) return &exports.emplace_back(Export{lib, 2});
        return nullptr;
    }
    std::uint8_t CallByteFunction(ExportAddress function) override {
        auto* e = static_cast<Export*>(function);
        log.push_back("call TestSiec");
        heldWhileAsked = held && *held == e->library;
        if (e->kind != 1) throw std::logic_error("TestSiec called through the wrong export");
        if (e->library->testSiecFaults) throw std::runtime_error("Access violation");
        return *e->library->testSiec;
    }
    void CallBufferFunction(ExportAddress function, OwnerBuffer& buffer) override {
        auto* e = static_cast<Export*>(function);
        log.push_back("call Wlasciciel");
        if (e->kind != 2) throw std::logic_error("Wlasciciel called through the wrong export");
        bufferWasZeroed = std::all_of(buffer, buffer + 256, [](unsigned char b) { return b == 0; });
        if (e->library->ownerFaults) throw std::runtime_error("External exception");
        const std::string& owner = *e->library->owner;
        buffer[0] = static_cast<unsigned char>(owner.size());
        std::copy(owner.begin(), owner.end(), buffer + 1);
    }
    void Free(LibraryHandle library) override {
        if (waiting) waiting->ExpectInside(Waiting::Leaving::AtOnce, "a library released");
        log.push_back("free");
        --loaded;
        ++frees;
        if (static_cast<FakeLibrary*>(library)->unloadFaults)
            throw std::runtime_error("Access violation");
    }

    std::map<std::string, FakeLibrary> libraries;
    const FakeWaiting* waiting = nullptr;
    const std::atomic<LibraryHandle>* held = nullptr;  // the form's ComponentLibrary
    bool heldWhileAsked = false;
    std::vector<std::string> loads;
    int loaded = 0;
    int frees = 0;
    bool bufferWasZeroed = false;

  private:
    struct Export {
        FakeLibrary* library;
        int kind;
    };
    CallLog& log;
    std::deque<Export> exports;
};

class FakeFolderChooser : public FolderChooser {
  public:
    std::optional<std::string> Choose(const std::string& title,
                                      const std::string& initialFolder) override {
        titles.push_back(title);
        initialFolders.push_back(initialFolder);
        if (answers.empty()) return std::nullopt;
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> titles;
    std::vector<std::string> initialFolders;
};

class FakeResources : public Resources {
  public:
    explicit FakeResources(CallLog& log) : log(log) {
        for (const PayloadEntry& entry : PayloadTable) {
            std::string name = entry.resourceName;
            blocks[Upper(name)] = "{\\rtf fragment " + name + "}\r\n";
        }
    }
    Payload Open(const std::string& name) override {
        auto found = blocks.find(Upper(name));
        if (found == blocks.end()) throw std::runtime_error("Resource " + name + " not found");
        log.push_back("open " + name);
        return Payload{reinterpret_cast<const unsigned char*>(found->second.data()),
                       found->second.size()};
    }
    static std::string Upper(std::string s) {
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    }

    std::map<std::string, std::string> blocks;

  private:
    CallLog& log;
};

// Files in memory. A set changes them only when it is committed, as the real one promises;
// the faults are injected per target path.
class FakeFiles : public Files {
  public:
    explicit FakeFiles(CallLog& log) : log(log) {}

    struct File {
        std::string bytes;
        std::uint32_t attributes = ArchiveAttribute;
    };
    enum class Failure { CannotCreate, ShortWrite, CannotReplace };

    std::unique_ptr<FileSet> BeginSet(const std::vector<std::string>&) override {
        if (waiting) waiting->ExpectInside(Waiting::Leaving::AfterWork, "a set begun");
        return std::make_unique<Set>(*this);
    }

    std::set<std::string> folders;
    const FakeWaiting* waiting = nullptr;
    std::map<std::string, File> files;
    std::map<std::string, Failure> failures;

  private:
    class Set : public FileSet {
      public:
        explicit Set(FakeFiles& files) : files(files) {}
        void Stage(const std::string& path, const unsigned char* data, std::size_t size) override {
            files.log.push_back("stage " + path);
            if (failed) throw std::logic_error("staged after a failure");
            failed = true;
            auto failure = files.failures.find(path);
            if (!files.folders.count(path.substr(0, path.rfind('\\'))) ||
                (failure != files.failures.end() && failure->second == Failure::CannotCreate))
                throw std::runtime_error("Cannot create file \"" + path + "\". Access denied");
            if (failure != files.failures.end() && failure->second == Failure::ShortWrite)
                throw std::runtime_error("Stream write error");
            staged.emplace_back(path, std::string(reinterpret_cast<const char*>(data), size));
            failed = false;
        }
        void Commit() override {
            files.log.push_back("commit");
            if (failed) throw std::logic_error("committed after a failure");
            for (std::size_t i = 0; i < staged.size(); ++i) {
                auto failure = files.failures.find(staged[i].first);
                if (failure != files.failures.end() && failure->second == Failure::CannotReplace)
                    throw ReplaceFailed(i, "Cannot create file \"" + staged[i].first + "\".");
            }
            for (const auto& [path, bytes] : staged) files.files[path] = {bytes, ArchiveAttribute};
        }

      private:
        FakeFiles& files;
        std::vector<std::pair<std::string, std::string>> staged;
        bool failed = false;
    };

    CallLog& log;
};

// The wizard over fakes, as the real application wires it: created on the fake surface, or
// drawing on another one (a real window, which reports its creation itself; `surface` then
// stays unused).
struct FakeWizard {
    CallLog log;
    FakeSurface surface{log};
    FakeRegistry registry;
    FakeLibraries libraries{log};
    FakeFolderChooser chooser;
    FakeResources resources{log};
    FakeFiles files{log};
    FakeWaiting waiting;
    Platform platform{registry, libraries, chooser, resources, files, waiting};
    TForm1 form;

    FakeWizard() : form{surface, platform} {
        Wire();
        form.Created();
    }
    explicit FakeWizard(Surface& on) : form{on, platform} { Wire(); }
    void Wire() {
        registry.log = &log;
        libraries.waiting = &waiting;
        libraries.held = &form.ComponentLibrary;
        files.waiting = &waiting;
    }
    // As the window reports a click.
    void Click(Widget widget) { form.Clicked(widget); }

    // Where the registry says the host program is, with a library that answers.
    void InstallHost(const std::string& folder, FakeLibrary library) {
        libraries.libraries[folder + "\\KORDALIN.dll"] = std::move(library);
        files.folders.insert(folder + "\\SZABLONY");
    }
    std::string Text(Widget widget) const { return surface.Text(widget); }
};
