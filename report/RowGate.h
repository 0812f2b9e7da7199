#pragma once

#include <functional>

// Asked by a run's reader before it adds each row: false once the table may take no more. The reader
// then adds none of that run's remaining rows but still asks for each, so that the gate can count
// them. An empty gate lets every row in.
using RowGate = std::function<bool()>;
