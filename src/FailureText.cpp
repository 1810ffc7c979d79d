#include "FailureText.h"

#include "browser/api/Error.h"
#include "common/errors/Error.h"

namespace karvel {

std::string failureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const common::errors::Error& error) {
        return error.message;
    } catch (const browser::api::Error& error) {
        return error.message;
    } catch (const std::exception& error) {
        return error.what();
    } catch (const std::string& text) {
        return text;
    } catch (const char* text) {
        return text == nullptr ? "unknown failure" : text;
    } catch (...) {
        return "unknown failure";
    }
}

}  // namespace karvel
