#pragma once
// One received block is one unit of display work. While a DisplayBatch is open, the views
// that show received text (panes, raw views, the nick list) take their changes at once into
// their own data but show them only when the batch finishes: text layout, caret moves,
// scrolling and change signals then happen once per block instead of once per line.
//
// The batch finishes when its outermost scope ends, and earlier whenever something needs
// the shown state: a view whose state is read finishes it first, and so does every window
// shown while it is open (a modal box, an input box, a pop-up menu: anything with an event
// loop of its own), so nothing ever sees or paints a half-finished block.

namespace display {

// A view that can hold its changes back until the batch finishes.
class BatchedView
{
public:
    BatchedView() = default;
    BatchedView(const BatchedView &) = delete;
    BatchedView &operator=(const BatchedView &) = delete;
    // Shows everything held back.
    virtual void FinishBatch() = 0;

protected:
    ~BatchedView();
    // Called on every change: true when a batch is open (the view is then finished with it
    // and holds the change back), false when the change is to be shown now.
    bool Defer();

private:
    bool m_enlisted = false;
    friend class DisplayBatch;
};

// The scope of one block's display work; scopes may nest, the outermost finishes.
class DisplayBatch
{
public:
    DisplayBatch();
    ~DisplayBatch();
    DisplayBatch(const DisplayBatch &) = delete;
    DisplayBatch &operator=(const DisplayBatch &) = delete;
    // Shows every change held back so far; the batch stays open for what follows.
    static void Finish();

private:
    friend class BatchedView;
    static void enlist(BatchedView *v);
    static void withdraw(BatchedView *v);
};

} // namespace display
