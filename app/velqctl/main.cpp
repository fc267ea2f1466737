#include <iostream>

#include "device/hidapi_backend.h"
#include "velqctl.h"

int main(int argc, char** argv) {
    velq::VelqctlEnvironment environment;
    environment.real_backend = [] { return std::make_unique<velq::HidapiBackend>(); };
    return velq::RunVelqctl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                            environment);
}
