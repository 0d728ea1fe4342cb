// Times the installation of the six templates (the real installation over the real file and
// resource services) next to two loops over the same bytes in the same folder: a plain
// create-write-close, and the durable floor of a file that is never seen half-written (write,
// flush, rename over the target). Usage: InstallBench <Instalator.exe> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "install/InstallTemplates.h"
#include "install/OverlayFiles.h"
#include "install/PayloadTable.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Resources.h"

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PlainWrite(const std::wstring& path, const Payload& payload) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), payload.data, static_cast<DWORD>(payload.size), &written, nullptr) ||
        written != payload.size)
        throw std::runtime_error("plain write failed");
}

void DurableWrite(const std::wstring& path, const Payload& payload) {
    std::wstring fresh = path + L".bench";
    {
        UniqueFile file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !WriteFile(file.get(), payload.data, static_cast<DWORD>(payload.size), &written,
                       nullptr) ||
            written != payload.size || !FlushFileBuffers(file.get()))
            throw std::runtime_error("durable write failed");
    }
    if (!MoveFileExW(fresh.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw std::runtime_error("durable rename failed");
}

// Each payload opened and written the given way, as the page does it.
template <typename Write>
double TimeLoop(Resources& resources, const std::wstring& host, Write write) {
    double start = Now();
    for (const PayloadEntry& entry : PayloadTable) {
        Payload payload = resources.Open(entry.resourceName);
        write(host + Widen(entry.relativePath), payload);
    }
    return Now() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: InstallBench <Instalator.exe> [runs]\n");
        return 2;
    }
    int runs = argc > 2 ? _wtoi(argv[2]) : 21;
    UniqueModule exe(LoadLibraryExW(argv[1], nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!exe) {
        std::fprintf(stderr, "cannot open %ls\n", argv[1]);
        return 1;
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring host = std::wstring(temp) + L"install-bench";
    CreateDirectoryW(host.c_str(), nullptr);
    CreateDirectoryW((host + L"\\SZABLONY").c_str(), nullptr);

    Win32Resources resources(exe.get());
    Win32Files files(OverlayFileNames);

    std::vector<double> wizard, plain, durable;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        InstallOutcome outcome =
            InstallTemplates(resources, files, Narrow(host), [](std::size_t) {});
        wizard.push_back(Now() - start);
        if (!outcome.installed) {
            std::fprintf(stderr, "installation failed\n");
            return 1;
        }

        plain.push_back(TimeLoop(resources, host, PlainWrite));
        durable.push_back(TimeLoop(resources, host, DurableWrite));
    }
    std::printf("%.3f %.3f %.3f\n", Median(wizard) * 1000.0, Median(plain) * 1000.0,
                Median(durable) * 1000.0);
    return 0;
}
