// Keeps the application library non-empty until its windows arrive.
namespace {
[[maybe_unused]] constexpr int placeholder = 0;
}
