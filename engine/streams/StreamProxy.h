#pragma once

#include "engine/streams/KsStream.h"

// Forwards every operation to another stream; derived classes change what they need.
class StreamProxy : public KsStream {
public:
    using KsStream::GetSize;

    explicit StreamProxy(KsRef<KsStream> base) : base_(std::move(base)) {}

    const unit16* GetName() const override { return base_->GetName(); }
    void SetName(const unit16* name) override { base_->SetName(name); }
    KsContainer* GetParentContainer() override { return base_->GetParentContainer(); }
    KsStatus GetSize(ks_pos_t* size) override { return base_->GetSize(size); }
    KsStreamMode GetMode() const override { return base_->GetMode(); }
    KsStatus SetMode(KsStreamMode mode) override { return base_->SetMode(mode); }
    KsStatus Flush(bool sync) override { return base_->Flush(sync); }
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override {
        return base_->Seek(offset, origin, newPosition);
    }
    KsStatus SetSize(ks_pos_t size) override { return base_->SetSize(size); }
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override {
        return base_->Read(buffer, count, bytesRead);
    }
    KsStatus Write(const void* buffer, ks_pos_t count, ks_pos_t* bytesWritten) override {
        return base_->Write(buffer, count, bytesWritten);
    }
    bool Eof() override { return base_->Eof(); }
    KsStatus ComputeCrc32(uint32_t* crc) override { return base_->ComputeCrc32(crc); }

protected:
    KsRef<KsStream>& Base() { return base_; }

private:
    KsRef<KsStream> base_;
};
