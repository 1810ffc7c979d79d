#pragma once

#include "browser/api/RequestOptions.h"

namespace karvel::browser::api {

// The request layer: each call performs one blocking exchange and runs exactly one callback
// (or throws browser::api::Error when the exchange failed and no onReject is given).
class ApiInterface {
public:
    virtual ~ApiInterface() = default;

    virtual void delete_(const RequestOptions& options) = 0;  // "delete" is a keyword
    virtual void get(const RequestOptions& options) = 0;
    virtual void patch(const RequestOptions& options) = 0;
    virtual void post(const RequestOptions& options) = 0;
    virtual void put(const RequestOptions& options) = 0;
};

}  // namespace karvel::browser::api
