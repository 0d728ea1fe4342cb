// Times the installation of the six templates (the real page 3 handler over the real file and
// resource services) next to two loops over the same bytes in the same folder: a plain
// create-write-close, and the durable floor of a file that is never seen half-written (write,
// flush, rename over the target). Usage: InstallBench <Instalator.exe> [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "install/PayloadTable.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FolderChooser.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Resources.h"

namespace {

// Page 3 needs only texts and buttons; nothing is shown.
class NullSurface : public Surface {
  public:
    void SetText(Widget widget, const std::string& text) override {
        texts[static_cast<int>(widget)] = text;
    }
    std::string Text(Widget widget) const override { return texts[static_cast<int>(widget)]; }
    void SetEnabled(Widget, bool) override {}
    void SetVisible(Widget, bool) override {}
    int Tag(Widget) const override { return 0; }
    void SetTag(Widget, int) override {}
    void ShowMessage(const std::string&) override {}
    void ShowErrorBox(const std::string&) override {}
    void Close() override {}
    std::string OwnPath() const override { return {}; }

    std::string texts[WidgetCount];
};

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

// Each payload opened, written the given way and released, as the page does it.
template <typename Write>
double TimeLoop(Resources& resources, const std::wstring& host, Write write) {
    double start = Now();
    for (const PayloadEntry& entry : PayloadTable) {
        Payload payload = resources.Open(entry.resourceName);
        write(host + Widen(entry.relativePath), payload);
        resources.Release(payload);
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

    Win32Registry registry;
    Win32Libraries libraries;
    Win32FolderChooser chooser;
    Win32Resources resources(exe.get());
    Win32Files files;
    Platform platform{registry, libraries, chooser, resources, files};
    NullSurface surface;
    TForm1 form(surface, platform);
    form.FormCreate();
    form.Location = Narrow(host);

    std::vector<double> wizard, plain, durable;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        form.TabSheet3Show();
        wizard.push_back(Now() - start);
        if (surface.Text(Widget::StaticText4) != "") {
            std::fprintf(stderr, "installation failed at %s\n",
                         surface.Text(Widget::StaticText4).c_str());
            return 1;
        }

        plain.push_back(TimeLoop(resources, host, PlainWrite));
        durable.push_back(TimeLoop(resources, host, DurableWrite));
    }
    std::printf("%.3f %.3f %.3f\n", Median(wizard) * 1000.0, Median(plain) * 1000.0,
                Median(durable) * 1000.0);
    return 0;
}
