// The stand-ins of app/toolchain/ keep the library's promises: a container's failure reaches the
// handlers as our Failure with the message the library's own function gives (the texts below are
// what it gives), and an allocation too large stays the library's exception. Without GoogleTest,
// whose objects would bring the library's own failure functions back into the link.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/Failure.h"

namespace {

volatile std::size_t far = 1024;  // the compiler must not see the failures coming
const char* volatile none = nullptr;

struct Case {
    void (*operation)();
    const char* message;
    const std::type_info& type;
};

const Case Cases[] = {
    {[] { (void)std::string("0123456789").at(far); },
     "basic_string::at: __n (which is 1024) >= this->size() (which is 10)", typeid(Failure)},
    {[] { (void)std::wstring(L"abc").substr(far); },
     "basic_string::substr: __pos (which is 1024) > this->size() (which is 3)", typeid(Failure)},
    {[] { (void)std::vector<int>().at(far); },
     "vector::_M_range_check: __n (which is 1024) >= this->size() (which is 0)", typeid(Failure)},
    {[] { std::string().reserve(std::string().max_size() + far); }, "basic_string::_M_create",
     typeid(Failure)},
    {[] { std::string text(none); }, "basic_string: construction from null is not valid",
     typeid(Failure)},
    {[] { (void)std::allocator<int>().allocate(SIZE_MAX / 2); }, "std::bad_array_new_length",
     typeid(std::bad_array_new_length)},
    {[] { (void)std::allocator<char>().allocate(std::size_t(PTRDIFF_MAX) + far); },
     "std::bad_alloc", typeid(std::bad_alloc)},
};

}  // namespace

int main() {
    int failed = 0;
    for (const Case& c : Cases) {
        std::string what = "(nothing thrown)";
        const std::type_info* type = &typeid(void);
        try {
            c.operation();
        } catch (const std::exception& error) {
            what = error.what();
            type = &typeid(error);
        }
        if (what == c.message && *type == c.type) continue;
        std::printf("FAILED: expected %s \"%s\", got %s \"%s\"\n", c.type.name(), c.message,
                    type->name(), what.c_str());
        ++failed;
    }
    std::printf("%d of %zu failure paths report as the library does\n",
                static_cast<int>(std::size(Cases)) - failed, std::size(Cases));
    return failed == 0 ? 0 : 1;
}
