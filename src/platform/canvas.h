#pragma once
// Placeholder until the drawing layer lands.
