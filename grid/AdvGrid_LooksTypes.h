#pragma once
// Types of the grid's looks, visual services and scrolling.
